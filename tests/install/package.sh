#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as CPack builds it: the expected files under /usr, dependencies read from
# the binaries, one maintainer address throughout, and no error and no copyright or licence
# complaint from lintian.
set -euo pipefail
build=$1 version=$2 expected=$3
source "$(dirname "$0")/common.sh"

cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; fail "cpack"; }
deb="$scratch/tessimap_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb; cpack made: $(ls "$scratch")"

expected_list "$expected" usr/ >"$scratch/expected"
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | LC_ALL=C sort >"$scratch/actual"
expect_same_list "$scratch/expected" "$scratch/actual" "the package's files"

[ "$(dpkg-deb -f "$deb" Package)" = tessimap ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 zlib1g libpng16-16 libgif7; do
    [[ ", $depends" == *", $library ("* ]] || fail "Depends names no versioned $library: $depends"
done

# The package's maintainer, its copyright file, the metainfo and the about box compiled into the
# editor (Qt keeps string literals as UTF-16, hence the second reading) name one address, and
# only that one.
dpkg-deb -x "$deb" "$scratch/root"
addresses() { grep -ohE '[[:alnum:]._%+-]+@[[:alnum:].-]+\.[[:alpha:]]+' | LC_ALL=C sort -u | paste -sd ' '; }
maintainer=$(dpkg-deb -f "$deb" Maintainer | addresses)
[ -n "$maintainer" ] || fail "the package names no maintainer address: $(dpkg-deb -f "$deb" Maintainer)"
root="$scratch/root/usr"
named_in_copyright=$(grep '^Upstream-Contact:' "$root/share/doc/tessimap/copyright" | addresses)
named_in_metainfo=$(addresses <"$root/share/metainfo/org.tessimap.Tessimap.metainfo.xml")
named_in_editor=$({ strings -a "$root/bin/tessimap" && strings -a -e l "$root/bin/tessimap"; } | addresses)
for source in copyright metainfo editor; do
    named="named_in_$source"
    [ "${!named}" = "$maintainer" ] || fail "the $source names '${!named}', the package's maintainer '$maintainer'"
done

lintian --fail-on error --tag-display-limit 0 "$deb" >"$scratch/lintian" 2>&1 ||
    { cat "$scratch/lintian"; fail "lintian reports errors"; }
cat "$scratch/lintian"
# Information lines aside, any tag about the copyright file or the licence is a fault here.
! grep -E '^[EWX]: .*(copyright|licen[cs]e)' "$scratch/lintian" >&2 || fail "lintian doubts the copyright or licence"
echo "package $(basename "$deb") holds the expected files, is maintained at $maintainer and depends on: $depends"
