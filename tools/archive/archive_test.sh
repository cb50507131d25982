#!/usr/bin/env bash
# koravex-archive from the command line: round trips, refusals and hostile archives.
set -u
tool=$(realpath "${1:?path of koravex-archive}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0

check() { # check DESCRIPTION COMMAND...: the command must succeed
    local what=$1
    shift
    if ! "$@"; then
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}

# Runs the tool, keeping its exit code in $code and its output in out.txt / err.txt.
run() {
    "$tool" "$@" >out.txt 2>err.txt
    code=$?
}

# The bytes of a little-endian int32.
le32() {
    printf '%b' "$(printf '\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) $((($1 >> 16) & 255)) \
        $((($1 >> 24) & 255)))"
}

# entry NAME SIZE OFFSET: one 58-byte directory entry as the game's writer stores it.
entry() {
    printf "$(printf '\\x%02x' $((${#1} + 1)))%s" "$1"
    head -c $((49 - ${#1})) /dev/zero
    le32 "$2"
    le32 "$3"
}

# Help and usage errors.
run --help
check "--help exits 0" test "$code" -eq 0
check "--help shows the commands" grep -q "koravex-archive pack ARCHIVE FILE" out.txt
run
check "no command is a usage error" test "$code" -eq 2
run frobnicate x
check "an unknown command is a usage error" test "$code" -eq 2
check "an unknown command is named" grep -q "unknown command: frobnicate" err.txt

# Pack, list and extract round trip.
mkdir in
printf 'first' >in/one.txt
printf '' >in/empty.dat
head -c 70000 /dev/urandom >in/noise.bin
run pack game.vbf in/one.txt in/empty.dat in/noise.bin
check "pack succeeds" test "$code" -eq 0
run list game.vbf
check "list succeeds" test "$code" -eq 0
expected=$(printf 'one.txt\t5\t178\nempty.dat\t0\t183\nnoise.bin\t70000\t183')
check "list shows name, size and offset" test "$(cat out.txt)" == "$expected"
mkdir out
(cd out && "$tool" extract ../game.vbf) || check "extract all succeeds" false
for f in one.txt empty.dat noise.bin; do
    check "$f comes back unchanged" cmp -s "in/$f" "out/$f"
done
mkdir single
(cd single && "$tool" extract ../game.vbf ONE.TXT) || check "extract by name in any case" false
check "only the named member is extracted" test "$(ls single)" == "one.txt"

# Refusals leave no archive behind.
long=$(printf 'n%.0s' $(seq 1 49))
printf 'x' >"in/$long"
run pack long.vbf "in/$long"
check "a 49-byte name is refused" test "$code" -eq 1
check "the refusal says why" grep -q "1 to 48 bytes" err.txt
check "no archive from a refused pack" test ! -e long.vbf
printf 'x' >"in/${long:1}"
run pack long.vbf "in/${long:1}"
check "a 48-byte name is packed" test "$code" -eq 0
printf 'y' >in/ONE.TXT
run pack dup.vbf in/one.txt in/ONE.TXT
check "names differing only in case are refused" test "$code" -eq 1
run pack missing.vbf in/one.txt in/nothing-here
check "a missing input fails" test "$code" -eq 1
check "no partial archive is left" test ! -e missing.vbf -a ! -e missing.vbf.partial
run extract game.vbf nothing.txt
check "extracting an absent member fails" test "$code" -eq 1

# Hostile archives.
{ le32 2; entry "../evil" 1 120; entry "ok" 1 121; printf 'EK'; } >evil.vbf
mkdir trap
(cd trap && "$tool" extract ../evil.vbf >/dev/null 2>&1)
check "a name leaving the folder is refused" test ! -e evil -a ! -e trap/evil
(cd trap && "$tool" extract ../evil.vbf ok) || check "a sound member of it still extracts" false
echo precious >keep.txt
mkdir linked
ln -s ../keep.txt linked/ok
(cd linked && "$tool" extract ../evil.vbf ok) || check "extracting over a link succeeds" false
check "a link under the name is replaced, not written through" test "$(cat keep.txt)" == precious
check "the member is written in its place" test "$(cat linked/ok)" == K
{ le32 5; entry "a" 1 300; } >short.vbf
run list short.vbf
check "a directory past the end of the file fails" test "$code" -eq 1
check "and says where" grep -q "runs past the end of the file (entry 1)" err.txt
{ le32 1; entry "a" 2147483647 62; } >huge.vbf
run extract huge.vbf a
check "data past the end is refused" test "$code" -eq 1 -a ! -e a
{ le32 -1; } >negative.vbf
run list negative.vbf
check "a negative count is damage" grep -q "damaged" err.txt

[[ $failures -eq 0 ]] && echo "all archive tool checks passed"
exit $((failures > 0))
