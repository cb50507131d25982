#!/usr/bin/env bash
# cpack -G DEB: a package in section games whose Depends come from the program's shared
# libraries, holding every installed file under /usr, whose program runs once unpacked.
set -u
build=$(realpath "${1:?build directory}")
version=${2:?project version}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/install_lib.sh"

if ! (cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    fail "cpack -G DEB"
    exit 1
fi
debs=("$work"/out/koravex_*.deb)
[[ ${#debs[@]} -eq 1 && -f "${debs[0]}" ]] || { fail "not one package: ${debs[*]}"; exit 1; }
deb=${debs[0]}
[[ "$(basename "$deb")" == "koravex_${version}_$(dpkg --print-architecture).deb" ]] ||
    fail "package file name $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == koravex ]] || fail "Package: $(field Package)"
[[ "$(field Version)" == "$version" ]] || fail "Version: $(field Version)"
[[ "$(field Section)" == games ]] || fail "Section: $(field Section)"
[[ -n "$(field Maintainer)" ]] || fail "no Maintainer"
[[ -n "$(field Description)" ]] || fail "no Description"
depends=$(field Depends)
# Computed ones carry the minimum versions of the libraries' symbols.
[[ "$depends" =~ libc6\ \(\>=\ [0-9] ]] || fail "Depends not computed: $depends"
[[ "$depends" =~ libsdl2-2\.0-0\ \(\>=\ [0-9] ]] || fail "Depends lacks SDL: $depends"
[[ "$depends" == *libgl1* ]] || fail "Depends lacks libgl1: $depends"

# The contents: exactly the installed files, under /usr.
listed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./usr/||' | sort)
[[ "$listed" == "$(expected_files)" ]] ||
    fail "package contents differ:
$(diff <(expected_files) <(echo "$listed"))"

# Unpacked, it is a whole installation, and its program is stripped and runs.
dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x"
check_tree "$work/root/usr"
[[ "$(file -b "$work/root/usr/bin/koravex")" == *", stripped"* ]] ||
    fail "the packaged program is not stripped"
check_command_line "$work/root/usr/bin/koravex"

[[ $failures -eq 0 ]] && echo "package: all checks passed ($(stat -c %s "$deb") bytes; Depends: $depends)"
exit $((failures > 0))
