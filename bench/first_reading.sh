#!/usr/bin/env bash
# Times the first reading window of a process, the one a user meets after
# starting the program: window_bench measures one showing (its first) in each of
# <runs> processes. Prints the median wall-clock and processor time.
#
#   bench/first_reading.sh [runs] [build folder]     (default 21, build/bench)
#
# Needs Xvfb; runs on a private X server of its own.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-21}
build=$(cd "${2:-$root/build/bench}" && pwd)

if [ -z "${NODALIS_ON_X_SERVER:-}" ]; then
    NODALIS_ON_X_SERVER=1 exec "$root/tests/support/on-x-server.sh" "$0" "$runs" "$build"
fi

for _ in $(seq "$runs"); do
    # With no minimum time, Google Benchmark runs a single iteration.
    "$build/bench/window_bench" --benchmark_filter=ReadingWindow --benchmark_min_time=0 \
        --benchmark_format=csv 2>/dev/null | tail -n 1
done | awk -F, '
    { real[NR] = $3; cpu[NR] = $4 }
    function median(values, n,    i, j, t) {
        for (i = 2; i <= n; i++)
            for (j = i; j > 1 && values[j - 1] > values[j]; j--) {
                t = values[j]; values[j] = values[j - 1]; values[j - 1] = t
            }
        return n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
    }
    END {
        printf "first reading window of a process, %d processes: median %.1f ms, CPU %.1f ms\n",
            NR, median(real, NR), median(cpu, NR)
    }'
