#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# cmake --install into a temporary prefix: exactly the expected files, both programs answer
# --help, --version and a wrong use from there, the desktop entry and metainfo validate, and every
# record of the licence names the same one.
set -euo pipefail
build=$1 version=$2 expected=$3
source "$(dirname "$0")/common.sh"

prefix="$scratch/prefix"
install_into "$prefix"
expected_list "$expected" >"$scratch/expected"
files_under "$prefix" >"$scratch/actual"
expect_same_list "$scratch/expected" "$scratch/actual" "installed files"

license_line="Licensed under the GNU GPL, version 3 or later."
# No display is needed to ask either program what it is.
for program in tessimap tessimap-export; do
    installed="$prefix/bin/$program"
    printf '%s\n' "$program $version" "$license_line" >"$scratch/version"
    env -u DISPLAY -u WAYLAND_DISPLAY "$installed" --version | diff -u "$scratch/version" - >&2 ||
        fail "$program --version does not print its version and licence"
    "$installed" --help | grep -q "^usage: $program" || fail "$program --help shows no usage"
    for wrong in "--bogus" "-q a.bmp"; do
        status=0
        # shellcheck disable=SC2086 # the wrong use is meant to split into arguments
        env -u DISPLAY "$installed" $wrong >"$scratch/out" 2>"$scratch/err" || status=$?
        [ "$status" -eq 2 ] || fail "$program $wrong exited with $status, not 2"
        grep -q -- "${wrong%% *}" "$scratch/err" || fail "$program $wrong does not name the problem: $(cat "$scratch/err")"
        [ ! -s "$scratch/out" ] || fail "$program $wrong wrote to standard output"
    done
done
status=0
env -u DISPLAY "$prefix/bin/tessimap" a.bmp b.bmp 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "tessimap with two files exited with $status, not 2"
status=0
"$prefix/bin/tessimap-export" --gif 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "tessimap-export without a picture exited with $status, not 2"

desktop="$prefix/share/applications/org.tessimap.Tessimap.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=tessimap %f' "$desktop" || fail "the desktop entry does not start 'tessimap %f'"
grep -qx 'MimeType=image/bmp;image/x-bmp;image/png;image/gif;' "$desktop" || fail "the desktop entry does not open BMP, PNG and GIF files"
metainfo="$prefix/share/metainfo/org.tessimap.Tessimap.metainfo.xml"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo does not name release $version"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" || fail "the metainfo names another licence"
copyright="$prefix/share/doc/tessimap/copyright"
# The machine-readable copyright file: every file under the one licence, whose text Debian keeps.
grep -qx 'Files: \*' "$copyright" && [ "$(grep -c '^License: GPL-3+$' "$copyright")" -eq 2 ] &&
    grep -q '/usr/share/common-licenses/GPL-3' "$copyright" || fail "the copyright file does not grant GPL-3+"
for page in tessimap tessimap-export; do
    zcat "$prefix/share/man/man1/$page.1.gz" | grep -q "\"Tessimap $version\"" || fail "$page(1) is not of version $version"
done
echo "installed layout, versions, command lines and desktop files as expected"
