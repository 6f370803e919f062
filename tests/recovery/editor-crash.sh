#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The editor killed as a crash, a power cut or the out-of-memory killer ends it, then started again.
#   editor-crash.sh BUILD once      stamp tiles, wait two seconds, kill -9, answer Yes: the picture
#                                   is the one before the kill, modified, under its name; the file
#                                   on disk was not touched; no question after a save or an exit
#   editor-crash.sh BUILD random N  N kills at random moments of a loop of stamps: each recovery
#                                   gives one of the pictures the loop went through, as Save would
#                                   have written it (a floating tile stamped where it was), never a mix
# A copy of the program in a scratch folder keeps its settings and journals beside itself, as a
# portable copy does, so nothing outside the scratch folder is read or written.
set -euo pipefail
build=$1 mode=$2 kills=${3:-20}

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessimap-crash-XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    if [ -n "${KEEP_SCRATCH:-}" ]; then echo "kept $scratch" >&2; else rm -rf "$scratch"; fi
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    [ -n "${KEEP_SCRATCH:-}" ] && [ -n "${DISPLAY:-}" ] && import -window root "$scratch/failure.png"
    exit 1
}

program="$scratch/editor/tessimap"
mkdir -p "$scratch/editor"
cp "$build/app/tessimap" "$build/app/language.ini" "$scratch/editor/"
journals="$scratch/editor/recovery"
map="$scratch/maps/level map.bmp"
mkdir -p "$scratch/maps"

# A 96 x 64 picture of one grey and a 16 x 16 tile of four colours, written by ImageMagick.
convert -size 96x64 xc:'#808080' -type TrueColor "BMP3:$scratch/original.bmp"
convert -size 8x8 xc:red -size 8x8 xc:blue +append \( -size 8x8 xc:lime -size 8x8 xc:yellow +append \) -append \
    "$scratch/tile.png"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb=$!
disown "$xvfb"
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$scratch/display")"
# The clipboard holds the tile for every paste; xclip serves it until the display ends.
xclip -selection clipboard -t image/png -i "$scratch/tile.png"

start_editor() {
    env -u XDG_STATE_HOME QT_QPA_PLATFORM=xcb HOME="$scratch" "$program" "$map" >>"$scratch/editor.log" 2>&1 &
    editor=$!
    pids+=("$editor")
}
# The window whose title matches, waited for; fails after ten seconds.
window_named() {
    timeout 10 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}
keys() { xdotool key --clearmodifiers --delay 40 "$@"; }
# Stamp n of the loop: paste (at the picture's corner), move n steps along a 4-wide grid, stamp.
stamp_keys() {
    local n=$1 moves=()
    for _ in $(seq $((n % 4))); do moves+=(Right Right); done
    for _ in $(seq $((n / 4))); do moves+=(Down Down); done
    echo ctrl+v "${moves[@]}" Return
}
save_and_exit() { # window
    xdotool windowfocus --sync "$1"
    keys ctrl+s
    window_named '^Tessimap - level map\.bmp$' >/dev/null || fail "Ctrl+S did not save the recovered picture"
    keys alt+F4
    wait "$editor" || fail "the editor ended with status $?"
}
no_question_at_start() {
    start_editor
    local main
    main=$(window_named '^Tessimap - level map\.bmp$') || fail "the editor did not start"
    sleep 1
    xdotool search --onlyvisible --name '^Unsaved picture$' >/dev/null 2>&1 && fail "a recovery was offered after $1"
    xdotool windowfocus --sync "$main"
    keys alt+F4
    wait "$editor" || fail "the editor ended with status $?"
}

# The pictures the loop goes through, each saved by the editor itself: state-0 is the file as
# opened, state-n the picture after stamp n.
cp "$scratch/original.bmp" "$map"
cp "$map" "$scratch/state-0.bmp"
start_editor
main=$(window_named '^Tessimap - level map\.bmp$') || fail "the editor did not open the picture"
xdotool windowfocus --sync "$main"
stamps=8
for n in $(seq 1 $stamps); do
    # shellcheck disable=SC2046
    keys $(stamp_keys "$n")
    window_named '^Tessimap - level map\.bmp \*$' >/dev/null || fail "stamp $n did not mark the picture modified"
    keys ctrl+s
    window_named '^Tessimap - level map\.bmp$' >/dev/null || fail "Ctrl+S did not save stamp $n"
    sleep 0.2
    cp "$map" "$scratch/state-$n.bmp"
done
keys alt+F4
wait "$editor" || fail "the editor ended with status $?"
cmp -s "$scratch/state-0.bmp" "$scratch/state-$stamps.bmp" && fail "the stamps changed nothing"
[ -z "$(ls -A "$journals" 2>/dev/null)" ] || fail "journals left after a normal exit: $(ls "$journals")"

# A kill while a pasted tile floats keeps the picture as Save would have written it then: the tile
# stamped where it floated. Prints n-floating when the saved picture is the one before stamp n with
# the tile at a place on stamp n's way (right from the corner, then down), else none.
floating_state() {
    local n x y candidate="$scratch/candidate.bmp"
    for n in $(seq 1 $stamps); do
        local places=("0 0") k
        for k in $(seq 1 $((2 * (n % 4)))); do places+=("$((8 * k)) 0"); done
        for k in $(seq 1 $((2 * (n / 4)))); do places+=("$((16 * (n % 4))) $((8 * k))"); done
        for place in "${places[@]}"; do
            read -r x y <<<"$place"
            convert "$scratch/state-$((n - 1)).bmp" "$scratch/tile.png" -geometry "+$x+$y" -composite \
                -type TrueColor "BMP3:$candidate"
            [ "$(compare -metric AE "$map" "$candidate" null: 2>&1)" = 0 ] && {
                echo "$n-floating"
                return
            }
        done
    done
    echo none
}

# Stamps, kills the editor after the delay, answers the question with Yes, and saves what came back; the
# saved picture is printed as the state it equals ("none" for a mix).
crash_and_recover() { # delay-before-kill
    cp "$scratch/original.bmp" "$map"
    start_editor
    main=$(window_named '^Tessimap - level map\.bmp$') || fail "the editor did not open the picture"
    xdotool windowfocus --sync "$main"
    # The first stamp is waited for, so the kill never comes before the window takes keys.
    # shellcheck disable=SC2046
    keys $(stamp_keys 1)
    window_named '^Tessimap - level map\.bmp \*$' >/dev/null || fail "the first stamp did not reach the editor"
    local all=()
    # shellcheck disable=SC2207
    for n in $(seq 2 $stamps); do all+=($(stamp_keys "$n")); done
    # One process sends every key, so the kill below stops them all: none may reach the next start.
    xdotool key --clearmodifiers --delay 40 "${all[@]}" &
    local sender=$!
    sleep "$1"
    kill -9 "$editor"
    wait "$editor" 2>/dev/null || true
    kill -9 "$sender" 2>/dev/null || true
    wait "$sender" 2>/dev/null || true
    # A key the sender was killed holding down must not be held at the next start.
    xdotool keyup Control_L Return Right Down v
    cmp -s "$scratch/original.bmp" "$map" || fail "the file on disk changed before anything was saved"
    [ -n "${KEEP_SCRATCH:-}" ] && rm -rf "$scratch/at-kill" && cp -r "$journals" "$scratch/at-kill"
    start_editor
    if question=$(window_named '^Unsaved picture$'); then
        [ "${SCREENSHOT:-}" ] && import -window root "$SCREENSHOT"
        xdotool windowfocus --sync "$question"
        keys Return
        main=$(window_named '^Tessimap - level map\.bmp \*$') ||
            fail "the recovered picture is not shown as modified under its name"
        cmp -s "$scratch/original.bmp" "$map" || fail "recovering changed the file on disk"
        save_and_exit "$main"
    else
        fail "no recovery was offered after the kill"
    fi
    for n in $(seq 1 $stamps); do
        cmp -s "$scratch/state-$n.bmp" "$map" && {
            echo "$n"
            return
        }
    done
    floating_state
}

case "$mode" in
once)
    # Every stamp sent, two seconds for the journal, then the kill.
    state=$(crash_and_recover "$(awk "BEGIN { print 2 + $stamps * 0.8 }")")
    [ "$state" = "$stamps" ] || fail "recovered picture equals state $state, not the last one ($stamps)"
    no_question_at_start "a save"
    no_question_at_start "a normal exit"
    echo "recovered the picture of the last stamp; no question after saving or a normal exit"
    ;;
random)
    seen=()
    for kill in $(seq 1 "$kills"); do
        delay=$(awk -v seed="$RANDOM" 'BEGIN { srand(seed); printf "%.2f", 0.3 + rand() * 6 }')
        state=$(crash_and_recover "$delay")
        [ "$state" = none ] && fail "kill $kill after ${delay}s recovered a picture the loop never had"
        seen+=("$state")
    done
    echo "recovered states after $kills kills: ${seen[*]}"
    ;;
*) fail "unknown mode $mode" ;;
esac
