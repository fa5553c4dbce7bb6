#!/usr/bin/env bash
# Starts of the real program, as the tests that run it name them:
#   start_test.sh one-copy|no-display|wayland nodalis   (one-copy and wayland under on-x-server.sh)
set -euo pipefail
mode=$1 app=$2 work=$(mktemp -d) pids=()
trap 'kill -9 "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config \
    XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache
mkdir -m 700 "$XDG_RUNTIME_DIR" "$work/elsewhere"
fail() { echo "FAIL: $*" >&2; exit 1; }
start() { "$@" 2>>"$work/errors" & pids+=($!); }
# The title of the window copy $1 shows within 20 s: the main window's or the message's.
shows() {
    timeout 20 xdotool search --sync --all --onlyvisible --pid "$1" --name '^Nodalis' 2>/dev/null |
        head -n 1 | xargs -r xdotool getwindowname
}
message_of() { # copy $1 shows a message within 20 s
    timeout 20 xdotool search --sync --all --onlyvisible --pid "$1" --name '^Nodalis$' 2>/dev/null
}
press_ok() { # in the message of copy $1, which then goes
    local box
    box=$(message_of "$1")
    xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool windowfocus --sync "$box" key Return
    timeout 20 sh -c 'while xdotool getwindowname "$1"; do sleep 0.05; done' - "$box" >/dev/null 2>&1
}
ended() { # copy $1 ends within 20 s, with status $2
    local status=0
    timeout 20 tail --pid="$1" -f /dev/null && wait "$1" || status=$?
    [ $status = "$2" ]
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

# From another folder, with another home and no runtime folder: still a second copy, which says
# so and ends. The first keeps its main window through this and the next.
start "$app" && first=$!
[ "$(shows $first)" = "Nodalis v1.45" ] || fail "the first copy shows no main window"
elsewhere() { start bash -c 'cd "$1" && HOME=$1 exec env -u XDG_RUNTIME_DIR "${@:2}"' - "$work/elsewhere" "$app" "$@"; }
elsewhere && second=$!
[ "$(shows $second)" = Nodalis ] || fail "a second copy from elsewhere shows no message"
press_ok $second
ended $second 0 || fail "the second copy did not end after its message"

# Given a file, from there, it hands the file to the first and ends quietly; the first refuses
# this one (it does not exist) with its message. While that message is up, a copy with a file
# says that a copy runs.
elsewhere x.nrd && second=$!
ended $second 0 || fail "a second copy with a file did not end quietly"
message_of $first >/dev/null || fail "the first copy shows no message for a refused file"
elsewhere x.nrd && third=$!
[ "$(shows $third)" = Nodalis ] || fail "a copy with a file shows no message while the first has one"
press_ok $third && press_ok $first
ended $third 0 || fail "the third copy did not end after its message"
[ "$(shows $first)" = "Nodalis v1.45" ] || fail "the first copy lost its main window"

# Of two copies started at once after it is killed, one runs and one says so.
kill -9 $first && wait $first 2>/dev/null || true
start "$app" && one=$!
start "$app" && two=$!
both="$(shows $one), $(shows $two)"
[ "$both" = "Nodalis v1.45, Nodalis" ] || [ "$both" = "Nodalis, Nodalis v1.45" ] ||
    fail "of two copies started at once after a killed one: $both"
kill -9 $one $two && wait $one $two 2>/dev/null || true

# Beside a stopped copy, a burst of starts fills its queue of callers (shortened here where the
# kernel lets us), and each start still finds a copy alive; one with a file, not answered, says so.
sysctl -qw net.core.somaxconn=4 2>/dev/null || echo "NOTE: the queue of callers keeps its length"
start "$app" && first=$!
[ "$(shows $first)" = "Nodalis v1.45" ] || fail "the first copy shows no main window"
kill -STOP $first
burst=()
for file in '' '' '' '' '' '' '' '' '' '' '' '' '' '' '' '' '' '' '' x.nrd; do
    start "$app" $file && burst+=($!)
done
for copy in "${burst[@]}"; do
    [ "$(shows $copy)" = Nodalis ] || fail "beside a stopped copy, a start shows '$(shows $copy)'"
done
kill -9 $first "${burst[@]}" && wait $first "${burst[@]}" 2>/dev/null || true

# Another user can neither hand this user's copy a file nor, holding this user's lock name, keep
# the copy from starting or hear the file it was given.
nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
"${nobody[@]}" true 2>/dev/null || { echo "SKIP: another user's lock needs root"; exit 0; }
name=org.nodalis.Nodalis-$(id -u)
start "$app" && first=$!
[ "$(shows $first)" = "Nodalis v1.45" ] || fail "the first copy shows no main window"
answer=$("${nobody[@]}" /usr/bin/python3 -c 'import socket, sys; s = socket.socket(socket.AF_UNIX)
s.connect(b"\0" + sys.argv[1].encode())
try: s.sendall(b"\0/x.nrd"); s.shutdown(socket.SHUT_WR); print(s.recv(1))
except OSError: print(b"")' "$name")
[ "$answer" = "b''" ] || fail "a copy answered another user's file with $answer"
kill -9 $first && wait $first 2>/dev/null || true
"${nobody[@]}" /usr/bin/python3 -c 'import socket, sys; s = socket.socket(socket.AF_UNIX)
s.bind(b"\0" + sys.argv[1].encode()); s.listen()
while True: print(s.accept()[0].recv(4096), flush=True)' "$name" >"$work/heard" & pids+=($!)
timeout 10 sh -c 'until grep -q "@$1$" /proc/net/unix; do sleep 0.05; done' - "$name"
start "$app" x.nrd
[ "$(shows $!)" = "Nodalis v1.45" ] || fail "another user holding the lock's name kept the program from starting"
grep -q "Starting without the lock" "$work/errors" || fail "the lock's failure went unsaid"
! grep -qv "^b''$" "$work/heard" || fail "another user heard: $(cat "$work/heard")"
