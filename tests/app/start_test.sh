#!/usr/bin/env bash
# Starts of the real program:  start_test.sh one-copy|no-display nodalis
#   one-copy: one copy runs for a user, whatever its environment (under on-x-server.sh)
#   no-display: no display gives one line and status 1; the command line needs none
#   wayland: the main window shows natively on Weston's headless back end
set -euo pipefail
mode=$1 app=$2 work=$(mktemp -d) pids=()
trap 'kill -9 "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config
mkdir -m 700 "$XDG_RUNTIME_DIR" "$work/elsewhere"
fail() { echo "FAIL: $*" >&2; exit 1; }
start() { "$@" 2>>"$work/errors" & pids+=($!); }
# The title of the window copy $1 shows within 10 s: the main window's or the message's.
shows() {
    timeout 10 xdotool search --sync --all --onlyvisible --pid "$1" --name '^Nodalis' 2>/dev/null |
        head -n 1 | xargs -r xdotool getwindowname
}
ends_with() { # status, then the command: it must end so, with one line on standard error
    local status=0
    "${@:2}" 2>"$work/errors" || status=$?
    [ $status = "$1" ] && [ "$(wc -l <"$work/errors")" = 1 ] || fail "${*:2}: $status, $(cat "$work/errors")"
}

if [ "$mode" = no-display ]; then
    export -n DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
    ends_with 1 "$app"
    ends_with 1 env DISPLAY=:65535 "$app"
    ends_with 1 env QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=nodalis-none "$app"
    "$app" --help | grep -q -- --version && [ "$("$app" --version)" = "Nodalis 1.45.0.0" ] || fail "--help, --version"
    ends_with 2 "$app" --bogus
    exit
fi

if [ "$mode" = wayland ]; then
    weston --backend=headless-backend.so --use-pixman --socket=nodalis 2>"$work/weston" & pids+=($!)
    timeout 10 sh -c 'until [ -S "$1/nodalis" ]; do sleep 0.05; done' - "$XDG_RUNTIME_DIR" ||
        fail "weston did not start: $(cat "$work/weston")"
    start env -u DISPLAY WAYLAND_DISPLAY=nodalis QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client "$app"
    timeout 10 sh -c 'until grep -q "set_title(\"Nodalis v1.45\")" "$1"; do sleep 0.05; done' \
        - "$work/errors" || fail "no main window on Wayland: $(grep -v '^\[' "$work/errors")"
    exit
fi

# From another folder, with another home and no runtime folder, and given a file to open: still
# a second copy, which says so and ends. The first keeps its main window.
start "$app" && first=$!
[ "$(shows $first)" = "Nodalis v1.45" ] || fail "the first copy shows no main window"
start bash -c 'cd "$1" && HOME=$1 exec env -u XDG_RUNTIME_DIR "$2" x.nrd' - "$work/elsewhere" "$app"
second=$!
[ "$(shows $second)" = Nodalis ] || fail "a second copy from elsewhere shows no message"
box=$(xdotool search --all --onlyvisible --pid $second --name '^Nodalis$')
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool windowfocus --sync "$box" key Return
timeout 10 tail --pid=$second -f /dev/null || fail "the second copy did not end after its message"
[ "$(shows $first)" = "Nodalis v1.45" ] || fail "the first copy lost its main window"

# Of two copies started at once after it is killed, one runs and one says so.
kill -9 $first && wait $first 2>/dev/null || true
start "$app" && one=$!
start "$app" && two=$!
both="$(shows $one), $(shows $two)"
[ "$both" = "Nodalis v1.45, Nodalis" ] || [ "$both" = "Nodalis, Nodalis v1.45" ] ||
    fail "of two copies started at once after a killed one: $both"
kill -9 $one $two && wait $one $two 2>/dev/null || true

# Another user, holding this user's lock name, cannot keep this user's copy from starting.
nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
"${nobody[@]}" true 2>/dev/null || { echo "SKIP: another user's lock needs root"; exit 0; }
name=org.nodalis.Nodalis-$(id -u)
start "${nobody[@]}" /usr/bin/python3 -c 'import socket, sys, time; s = socket.socket(socket.AF_UNIX)
s.bind(b"\0" + sys.argv[1].encode()); s.listen(); time.sleep(60)' "$name"
timeout 10 sh -c 'until grep -q "@$1$" /proc/net/unix; do sleep 0.05; done' - "$name"
start "$app"
[ "$(shows $!)" = "Nodalis v1.45" ] || fail "another user holding the lock's name kept the program from starting"
grep -q "Starting without the lock" "$work/errors" || fail "the lock's failure went unsaid"
