# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the install checks: a scratch folder removed on exit, failures that say what broke.

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessimap-install-XXXXXX")
cleanup_steps=()
cleanup() {
    for step in "${cleanup_steps[@]}"; do eval "$step" || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# Installs the build under $1 the way `cmake --install` does for a user.
install_into() {
    cmake --install "$build" --prefix "$1" >"$scratch/install.log" 2>&1 || { cat "$scratch/install.log"; fail "cmake --install"; }
}

# The expected list: the fixed files plus the data files the repository ships, which the build
# passes as TESSIMAP_SHIPPED (paths below the prefix).
expected_list() { # list-file [prefix-to-add]
    { cat "$1"; for shipped in ${TESSIMAP_SHIPPED:-}; do echo "$shipped"; done; } | sed "s|^|${2:-}|" | LC_ALL=C sort
}

# The files (not folders) under $1, relative to it, sorted.
files_under() {
    (cd "$1" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
}

expect_same_list() { # expected-file actual-file what
    diff -u "$1" "$2" >&2 || fail "$3 differ from the expected list (- expected, + actual)"
}
