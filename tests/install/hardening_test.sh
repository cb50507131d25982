#!/usr/bin/env bash
# The program carries the hardening of Debian's build flags, read from the binary itself (it
# may be stripped): a position-independent executable, a read-only relocation table resolved
# at start, the stack protector and fortified calls. With a build folder, also that every
# compile of ours asked for stack-clash protection and, on x86, control-flow protection:
# neither leaves a mark in a program linked on Debian 12, whose C start-up files lack the
# control-flow notes.
#   tests/install/hardening_test.sh PROGRAM [BUILD_DIR]
set -u
program=${1:?program}
build=${2:-}
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

header=$(readelf -h "$program") || { echo "FAILED: not an ELF file: $program"; exit 1; }
dynamic=$(readelf -d "$program")
[[ "$header" == *"DYN (Position-Independent Executable file)"* ||
    "$dynamic" =~ FLAGS_1.*PIE ]] || fail "not a position-independent executable"
readelf -lW "$program" | grep -q GNU_RELRO || fail "no read-only relocations (-z relro)"
[[ "$dynamic" =~ \(FLAGS\).*BIND_NOW || "$dynamic" =~ FLAGS_1.*NOW ]] ||
    fail "symbols not bound at start (-z now)"
symbols=$(readelf --dyn-syms -W "$program")
grep -q ' __stack_chk_fail' <<<"$symbols" || fail "no stack protector (__stack_chk_fail)"
grep -qE ' __[a-z0-9_]+_chk(@|$)' <<<"$symbols" || fail "no fortified calls (__*_chk)"

if [[ -n "$build" ]]; then
    flags=(-fstack-clash-protection)
    [[ "$header" == *"Advanced Micro Devices X86-64"* ]] && flags+=(-fcf-protection)
    commands=$(grep '"command":' "$build/compile_commands.json")
    total=$(wc -l <<<"$commands")
    for flag in "${flags[@]}"; do
        with=$(grep -c -- " $flag " <<<"$commands")
        [[ $with -eq $total ]] || fail "$((total - with)) of $total compiles without $flag"
    done
fi

[[ $failures -eq 0 ]] && echo "hardening: all checks passed ($program)"
exit $((failures > 0))
