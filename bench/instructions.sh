#!/usr/bin/env bash
# Counts the instructions (valgrind's callgrind) of the two waits measured in
# bench/README.md. Unlike times, these counts do not change with the load of the
# machine, so they compare two builds, or two programs, on a busy machine.
#   - start-up: from the start of the process to the request that maps its first
#     window (when QXcbWindow::show returns), for the minimal program and for
#     Nodalis, each on its second start (its settings written by the first);
#   - the reading window: each showing of it in window_bench, from
#     showReading to the window drawn; the first one in the process apart.
#
#   bench/instructions.sh [build folder]     (default build/bench)
#
# Needs valgrind and Xvfb; runs on a private X server of its own.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/bench}" && pwd)

if [ -z "${NODALIS_ON_X_SERVER:-}" ]; then
    NODALIS_ON_X_SERVER=1 exec "$root/tests/support/on-x-server.sh" "$0" "$build"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache \
    XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

millions() { awk '{ printf "%.1f", $1 / 1e6 }'; }

# Instructions from process start to the first window's map request.
until_mapped() {
    local program=$1 out
    out=$work/start.$(basename "$1")
    # The first start writes the settings.
    timeout -s KILL 5 "$program" >/dev/null 2>&1 || true
    valgrind --tool=callgrind --callgrind-out-file="$out" --dump-after='QXcbWindow::show()' \
        "$program" >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 600); do
        [ -s "$out.1" ] && break
        sleep 0.1
    done
    sleep 1 # let callgrind finish writing the profile
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [ -s "$out.1" ] || { echo "$program: no window was mapped" >&2; exit 1; }
    awk '/^summary:/ { print $2 }' "$out.1"
}

minimal=$(until_mapped "$build/bench/minimal_window")
nodalis=$(until_mapped "$build/app/nodalis")
echo "Start of the process to the first window mapped (million instructions):"
printf '  minimal_window %8s\n' "$(echo "$minimal" | millions)"
printf '  nodalis        %8s   ratio %s\n' "$(echo "$nodalis" | millions)" \
    "$(awk -v a="$nodalis" -v b="$minimal" 'BEGIN { printf "%.2f", a / b }')"

# One profile per showing of the reading window.
out=$work/reading
valgrind --tool=callgrind --callgrind-out-file="$out" \
    --toggle-collect='*showReadingWindow*' \
    --dump-after='(anonymous namespace)::showReadingWindow(MainWindow&)' \
    "$build/bench/window_bench" --benchmark_filter=ReadingWindow --benchmark_min_time=3 \
    >/dev/null 2>&1
counts=()
part=1
while [ -f "$out.$part" ]; do
    counts+=("$(awk '/^summary:/ { print $2 }' "$out.$part")")
    part=$((part + 1))
done
later=$(printf '%s\n' "${counts[@]:1}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
echo "showReading to the reading window drawn (million instructions):"
printf '  first in the process %8s\n' "$(echo "${counts[0]}" | millions)"
printf '  later (median of %d)  %8s\n' $((${#counts[@]} - 1)) "$(echo "$later" | millions)"
