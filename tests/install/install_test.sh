#!/usr/bin/env bash
# cmake --install into a fresh prefix: every file in its place, icons of the right sizes,
# the desktop entry and metainfo clean under their validators, and the installed program
# answering its command line without a display.
source "$(dirname "$0")/install_lib.sh"

prefix="$work/prefix with space"
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    fail "cmake --install"
fi
check_tree "$prefix"
cmp -s "$build/adatok.vbf" "$prefix/share/koravex/adatok.vbf" ||
    fail "the installed archive differs from the built one"
check_command_line "$prefix/bin/koravex"

# A staged install (DESTDIR) lands under the stage, below the prefix.
if DESTDIR="$work/stage" cmake --install "$build" --prefix /opt/kx >"$work/install.log" 2>&1; then
    check_tree "$work/stage/opt/kx"
else
    cat "$work/install.log"
    fail "cmake --install with DESTDIR"
fi

[[ $failures -eq 0 ]] && echo "install: all checks passed"
exit $((failures > 0))
