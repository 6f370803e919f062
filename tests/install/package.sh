#!/usr/bin/env bash
# The Debian package as CPack builds it: the expected files under /usr, dependencies read from
# the binaries, and no error from lintian.
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
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 zlib1g; do
    [[ ", $depends" == *", $library ("* ]] || fail "Depends names no versioned $library: $depends"
done

lintian --fail-on error --tag-display-limit 0 "$deb" >"$scratch/lintian" 2>&1 ||
    { cat "$scratch/lintian"; fail "lintian reports errors"; }
cat "$scratch/lintian"
echo "package $(basename "$deb") holds the expected files and depends on: $depends"
