#!/usr/bin/env bash
# Starts the real program as separate processes on an X server and checks that
# only one copy runs for a user: a second copy says so and ends, the first goes
# on, a copy that was killed does not block the next start, and of two copies
# started at the same moment exactly one keeps running.
# Usage (on an X server, e.g. under xvfb-run): single_instance_test.sh <nodalis>
set -euo pipefail

app=$1
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

start() {
    "$app" &
    pids+=($!)
    started=$!
}

# Prints the id of the window of process $1 titled exactly $2, waiting up to 10 s for it.
window_of() {
    for _ in $(seq 100); do
        xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | head -n 1 && return 0
        sleep 0.1
    done
    return 1
}

has_window() { xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" >/dev/null 2>&1; }

ends_within() {
    for _ in $(seq 100); do
        kill -0 "$1" 2>/dev/null || { wait "$1"; return; }
        sleep 0.1
    done
    return 1
}

answer_already_running() {
    local box
    box=$(window_of "$1" "Nodalis") || fail "copy $1 shows no message"
    has_window "$1" "Nodalis v1.45" && fail "copy $1 shows its main window beside the message"
    xdotool windowactivate --sync "$box" key --clearmodifiers Return 2>/dev/null ||
        xdotool windowfocus --sync "$box" key --clearmodifiers Return
    ends_within "$1" || fail "copy $1 did not end after its message"
}

start
first=$started
window_of "$first" "Nodalis v1.45" >/dev/null || fail "the first copy shows no main window"

start
answer_already_running "$started"
kill -0 "$first" 2>/dev/null || fail "the first copy ended"
has_window "$first" "Nodalis v1.45" || fail "the first copy lost its main window"
echo "second copy refused while the first runs"

kill -9 "$first"
wait "$first" 2>/dev/null || true
start
after_kill=$started
window_of "$after_kill" "Nodalis v1.45" >/dev/null || fail "a killed copy's lock blocked the next start"
kill -9 "$after_kill"
wait "$after_kill" 2>/dev/null || true
echo "a killed copy does not block the next start"

start
one=$started
start
two=$started
running=()
for pid in "$one" "$two"; do
    for _ in $(seq 100); do
        if has_window "$pid" "Nodalis v1.45"; then
            running+=("$pid")
            break
        elif has_window "$pid" "Nodalis"; then
            answer_already_running "$pid"
            break
        fi
        sleep 0.1
    done
done
[ ${#running[@]} -eq 1 ] || fail "${#running[@]} of two copies started together kept running"
echo "of two copies started together exactly one runs"
