# shellcheck shell=bash
# shellcheck disable=SC2034 # build, version and work are for the sourcing script
# Shared by the install and package tests: their arguments (the build directory and the
# project's version), a scratch folder that goes at exit, a failure counter, file checks, and
# the checks of the desktop's files, wherever they were installed or unpacked. Sourced with
# the test's arguments.
set -u
build=$(realpath "${1:?build directory}")
version=${2:?project version}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# The app id names the desktop entry, the metainfo and the icon.
app_id=org.koravex.Koravex
icon_sizes=(16 24 32 48 64 128 256)

# The program's place under the prefix: bin/, or games/ in the Debian package.
program_path() { [[ "${1:-}" == package ]] && echo games/koravex || echo bin/koravex; }

# Every file an installation (or with "package", the Debian package) holds, relative to its
# prefix.
expected_files() {
    local size
    {
        program_path "${1:-}"
        if [[ "${1:-}" == package ]]; then
            echo share/doc/koravex/copyright
            echo share/doc/koravex/changelog.gz
        fi
        echo share/koravex/adatok.vbf
        echo "share/applications/$app_id.desktop"
        echo "share/metainfo/$app_id.metainfo.xml"
        echo share/man/man6/koravex.6.gz
        for size in "${icon_sizes[@]}"; do
            echo "share/icons/hicolor/${size}x${size}/apps/$app_id.png"
        done
    } | sort
}

# A big-endian uint32 at a byte offset of a file.
be32() {
    od -An -tu1 -j "$2" -N 4 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }'
}

# check_tree ROOT [package]: ROOT holds exactly the expected files, and they are sound.
check_tree() {
    local root=$1 kind=${2:-} size png line out
    local actual
    actual=$(cd "$root" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort)
    [[ "$actual" == "$(expected_files "$kind")" ]] ||
        fail "installed files differ from the expected ones:
$(diff <(expected_files "$kind") <(echo "$actual"))"
    [[ -x "$root/$(program_path "$kind")" ]] || fail "the program is not executable"

    # Icons: a PNG of the size its folder says, RGBA, transparent at the corner and
    # opaque in the middle (decoded by ImageMagick, so the file is whole).
    for size in "${icon_sizes[@]}"; do
        png="$root/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
        [[ -f "$png" ]] || continue
        [[ "$(od -An -tx1 -N 8 "$png" | tr -d ' \n')" == 89504e470d0a1a0a ]] ||
            fail "$size: not a PNG"
        [[ "$(be32 "$png" 16) $(be32 "$png" 20)" == "$size $size" ]] ||
            fail "$size: header says $(be32 "$png" 16) x $(be32 "$png" 20)"
        out=$(convert "$png" -format '%w %h %[channels] %[fx:p{0,0}.a] %[fx:p{w/2,h/2}.a]' \
            info: 2>&1)
        [[ "$out" == "$size $size srgba 0 1" ]] || fail "$size: decoded as '$out'"
    done

    # The desktop entry: clean, starting the installed program with the installed icon.
    local desktop="$root/share/applications/$app_id.desktop"
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed"
    [[ -z "$out" ]] || fail "desktop-file-validate: $out"
    grep -qx 'Exec=koravex' "$desktop" || fail "desktop entry: Exec is not koravex"
    grep -qx "Icon=$app_id" "$desktop" || fail "desktop entry: Icon is not $app_id"
    line=$(grep '^Categories=' "$desktop")
    [[ "$line" == *"Game;"* && "$line" == *"BoardGame;"* ]] || fail "desktop entry: $line"

    # The metainfo: clean, naming the desktop entry, rated, with a captioned screenshot.
    local metainfo="$root/share/metainfo/$app_id.metainfo.xml"
    out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli: $out"
    [[ "$out" != *"W: "* && "$out" != *"E: "* ]] || fail "appstreamcli: $out"
    grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo: id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "metainfo: launchable"
    grep -q '<content_rating type="oars-1.1"' "$metainfo" || fail "metainfo: content rating"
    grep -q '<caption>[^<]' "$metainfo" || fail "metainfo: screenshot caption"
    grep -q "<release version=\"$version\"" "$metainfo" ||
        fail "metainfo: no release $version (the newest release must be the program's version)"

    # The manual page: section 6, this version, every section a player looks for.
    local manual
    manual=$(gzip -dc "$root/share/man/man6/koravex.6.gz") || fail "man page: not gzip"
    [[ "$manual" == *".TH KORAVEX 6 "*"Koravex $version"* ]] || fail "man page: title line"
    for line in NAME SYNOPSIS DESCRIPTION OPTIONS CONTROLS FILES "EXIT STATUS"; do
        grep -qx "\.SH \"\?$line\"\?" <<<"$manual" || fail "man page: no $line section"
    done
}

# check_command_line PROGRAM: the three kinds of command line, with no display at all.
check_command_line() {
    local program=$1 code
    run_program() {
        env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$program" "$@" >"$work/stdout" 2>"$work/stderr"
        code=$?
    }
    run_program --help
    [[ $code -eq 0 ]] || fail "--help: exit code $code"
    grep -q '^Usage: koravex' "$work/stdout" || fail "--help: no usage on stdout"
    [[ ! -s "$work/stderr" ]] || fail "--help wrote to stderr: $(cat "$work/stderr")"

    run_program --version
    [[ $code -eq 0 ]] || fail "--version: exit code $code"
    [[ "$(cat "$work/stdout")" == "koravex $version" ]] || fail "--version: $(cat "$work/stdout")"
    [[ ! -s "$work/stderr" ]] || fail "--version wrote to stderr: $(cat "$work/stderr")"

    local bad
    for bad in --bogus stray; do
        run_program "$bad"
        [[ $code -eq 2 ]] || fail "$bad: exit code $code, not 2"
        [[ ! -s "$work/stdout" ]] || fail "$bad wrote to stdout: $(cat "$work/stdout")"
        grep -q "'$bad'" "$work/stderr" || fail "$bad: stderr does not name it"
        grep -q '^Usage: koravex' "$work/stderr" || fail "$bad: no usage on stderr"
    done
}
