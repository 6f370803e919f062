#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installed editor as an ordinary user starts it: from a prefix of its own, with a home folder
# of its own and a picture on the command line, on a virtual display. It must read the shipped
# language.ini from the prefix, open the picture, and on Exit write its settings under that home
# and nothing under the prefix, even though the prefix is writable here.
set -euo pipefail
build=$1 expected=$2
source "$(dirname "$0")/common.sh"

prefix="$scratch/prefix"
home="$scratch/home"
mkdir -p "$home"
install_into "$prefix"
touch "$scratch/installed"

# A 2 x 1 picture, 24 bits per pixel: file header, info header, one row padded to 4 bytes.
printf 'BM\x3e\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0\x08\0\0\0\x13\x0b\0\0\x13\x0b\0\0\0\0\0\0\0\0\0\0\xff\0\0\0\xff\0\0\0' \
    >"$scratch/start map.bmp"

# Xvfb picks a free display number and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb=$!
cleanup_steps+=("kill $xvfb")
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$scratch/display")"

mkdir -m 700 "$scratch/runtime"
# The leak checker cannot run under strace; the rest of a sanitizer build's suite checks leaks.
asan_options="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
env -i HOME="$home" XDG_RUNTIME_DIR="$scratch/runtime" PATH=/usr/bin:/bin DISPLAY="$DISPLAY" ASAN_OPTIONS="$asan_options" \
    strace -f -qq -e trace=openat -o "$scratch/opened" "$prefix/bin/tessimap" "$scratch/start map.bmp" &
editor=$!
cleanup_steps+=("kill $editor 2>/dev/null")

window=$(timeout 30 xdotool search --sync --name '^Tessimap - start map\.bmp$' | head -n 1) ||
    fail "no window titled 'Tessimap - start map.bmp' appeared"
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+F4
for _ in $(seq 100); do kill -0 "$editor" 2>/dev/null || break; sleep 0.1; done
kill -0 "$editor" 2>/dev/null && fail "the editor did not end on Alt+F4"
wait "$editor" || fail "the editor ended with status $?"

# What the program names in its binary it must find in the prefix or write under the home; a
# build that does not use a file yet says so rather than pass quietly.
# Qt keeps string literals as UTF-16, hence the second reading.
uses() { { strings -a "$prefix/bin/tessimap" && strings -a -e l "$prefix/bin/tessimap"; } | grep -q -F "$1"; }
if uses language.ini; then
    grep -E "\"$prefix/(bin/\.\./)?share/tessimap/language\.ini\", O_RDONLY.*= [0-9]+$" "$scratch/opened" >/dev/null ||
        fail "the editor did not read the installed language.ini: $(grep language.ini "$scratch/opened" || echo never asked for it)"
else
    echo "NOT CHECKED: this build of the editor does not read language.ini"
fi
if uses Tessimap.ini; then
    [ -f "$home/.config/Tessimap/Tessimap.ini" ] ||
        fail "no settings under the home folder; written: $(find "$home" -type f)"
else
    echo "NOT CHECKED: this build of the editor does not write Tessimap.ini"
fi
expected_list "$expected" >"$scratch/expected"
files_under "$prefix" >"$scratch/actual"
expect_same_list "$scratch/expected" "$scratch/actual" "files under the prefix after a run"
changed=$(find "$prefix" -newer "$scratch/installed" -type f)
[ -z "$changed" ] || fail "the editor wrote under its prefix: $changed"
echo "the installed editor read its data from the prefix and kept its settings under its home"
