#!/usr/bin/env bash
# Only one copy of the real program runs for a user, on an X server:  single_instance_test.sh nodalis
set -euo pipefail
app=$1 work=$(mktemp -d) pids=()
trap 'kill -9 "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT
export HOME=$work XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb
mkdir -m 700 "$XDG_RUNTIME_DIR"
fail() { echo "FAIL: $*" >&2; exit 1; }
start() { "$app" & pids+=($!); }
# The title of the window copy $1 shows within 10 s: the main window's or the message's.
shows() {
    timeout 10 xdotool search --sync --all --onlyvisible --pid "$1" --name '^Nodalis' 2>/dev/null |
        head -n 1 | xargs -r xdotool getwindowname
}

start && first=$!
[ "$(shows $first)" = "Nodalis v1.45" ] || fail "the first copy shows no main window"
start && second=$!
[ "$(shows $second)" = Nodalis ] || fail "a second copy shows no message"
box=$(xdotool search --all --onlyvisible --pid $second --name '^Nodalis$')
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool windowfocus --sync "$box" key Return
timeout 10 tail --pid=$second -f /dev/null || fail "the second copy did not end after its message"
[ "$(shows $first)" = "Nodalis v1.45" ] || fail "the first copy lost its main window"

kill -9 $first && wait $first 2>/dev/null || true
start
[ "$(shows $!)" = "Nodalis v1.45" ] || fail "a killed copy's lock blocked the next start"
kill -9 $! && wait $! 2>/dev/null || true

start && one=$!
start && two=$!
both="$(shows $one), $(shows $two)"
[ "$both" = "Nodalis v1.45, Nodalis" ] || [ "$both" = "Nodalis, Nodalis v1.45" ] ||
    fail "of two copies started at once: $both"
