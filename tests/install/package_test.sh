#!/usr/bin/env bash
# cpack -G DEB: a package in section games whose Depends come from the program's shared
# libraries, holding every installed file under /usr with the program in /usr/games, the
# copyright file and the changelog, whose program runs once unpacked, hardened. lintian finds
# no error and no warning in it, and only the informational tags the README explains.
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
[[ "$listed" == "$(expected_files package)" ]] ||
    fail "package contents differ:
$(diff <(expected_files package) <(echo "$listed"))"

# Unpacked, it is a whole installation, and its program is stripped, hardened and runs.
dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x"
check_tree "$work/root/usr" package
program=$work/root/usr/games/koravex
[[ "$(file -b "$program")" == *", stripped"* ]] || fail "the packaged program is not stripped"
# A build without Debian's hardening (Debug, the sanitizers) makes an unhardened package, which
# lintian tags as such.
hardened=${KX_EXPECT_HARDENING:-1}
if [[ $hardened == 1 ]]; then
    bash "$(dirname "$0")/hardening_test.sh" "$program" || fail "the packaged program is not hardened"
fi
check_command_line "$program"

# The documents: the copyright file in the machine-readable format, naming both licences, and
# a changelog whose newest entry is this version.
copyright=$work/root/usr/share/doc/koravex/copyright
head -n 1 "$copyright" |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright: not the machine-readable format"
for name in Expat Bitstream-Vera; do
    grep -qx "License: $name" "$copyright" || fail "copyright: no $name licence text"
done
[[ "$(gzip -dc "$work/root/usr/share/doc/koravex/changelog.gz" | head -n 1)" == \
    "koravex ($version) "* ]] || fail "changelog: the newest entry is not $version"

# lintian: no error, no warning, and every informational tag explained in the README; an
# unhardened build's hardening tags aside.
[[ $hardened == 1 ]] || unhardened=' hardening-'
if lintian --display-info --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1; then
    grep -E '^[EW]: ' "$work/lintian.txt" | grep -v "${unhardened:-^$}" &&
        fail "lintian found errors or warnings"
    while read -r tag; do
        [[ $hardened == 1 || $tag != hardening-* ]] || continue
        grep -qF -- "\`$tag\`" "$(dirname "$0")/../../README.md" ||
            fail "lintian: $tag is not explained in the README's packaging notes"
    done < <(awk '/^I: / { print $3 }' "$work/lintian.txt" | sort -u)
else
    cat "$work/lintian.txt"
    fail "lintian failed"
fi

[[ $failures -eq 0 ]] && echo "package: all checks passed ($(stat -c %s "$deb") bytes; Depends: $depends)"
exit $((failures > 0))
