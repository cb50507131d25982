# shellcheck shell=bash
# The one way our scripts reach an X server of their own: a new Xvfb server with a free display
# number, 24-bit colour and -noreset (by default the server restarts whenever its last client
# leaves, and a program connecting at that moment loses its connection). Sourced by
# scripts/test.sh, the end-to-end tests, the benchmarks and the soak tests.
#
#   xvfb_options=(-fp built-ins)   extra server options, when a script needs them (set after
#                                  sourcing this file)
#   xvfb_run SIZE COMMAND...       runs COMMAND in a new server of SIZE (WIDTHxHEIGHT)
#   in_xvfb SIZE [ARG...]          re-runs the calling script with ARGs in a new server and exits
#                                  with its code; inside that server it returns at once
#   xvfb_start SIZE [OPTION...]    starts a server in the background, for a script that kills it
#                                  itself: its display goes to `display`, its process to `server`
#   xvfb_stop                      ends the server xvfb_start started

# Exit code of a run that found no X server of its own to talk to: xvfb_run tries again.
# Not read-only, so that a script may source this file more than once.
kNoServer=75

xvfb_options=()

xvfb_run() {
    local size=$1 code
    shift
    for _ in 1 2 3; do
        # Servers started at the same moment elsewhere can take the display number first.
        code=0
        xvfb-run -a -s "-screen 0 ${size}x24 -noreset ${xvfb_options[*]}" "$@" || code=$?
        [[ $code -eq $kNoServer ]] || return $code
        echo "no X server of our own; trying again" >&2
        sleep 1
    done
    return 1
}

in_xvfb() {
    [[ -n "${KX_IN_XVFB:-}" ]] && return
    local size=$1
    shift
    KX_IN_XVFB=1 xvfb_run "$size" bash "$0" "$@"
    exit $?
}

# shellcheck disable=SC2034 # display is for the calling script
xvfb_start() {
    local size=$1 fd_file
    shift
    fd_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${size}x24" -noreset "$@" 3>"$fd_file" 2>/dev/null &
    server=$!
    for _ in $(seq 1 100); do
        [[ -s "$fd_file" ]] && break
        sleep 0.05
    done
    display=":$(cat "$fd_file")"
    rm -f "$fd_file"
}

xvfb_stop() {
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
}
