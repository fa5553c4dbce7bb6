#!/usr/bin/env bash
# Runs a command on a private Xvfb server and ends the server afterwards. Xvfb
# picks a free display itself (-displayfd), so runs started side by side never
# share or steal a server, as they can with xvfb-run -a. The server must not reset
# when its last client leaves: a client that connects during the reset, such as a
# copy of the program started just after another was killed, is turned away.
#   on-x-server.sh command [argument...]
set -euo pipefail

dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/log" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT

for _ in $(seq 200); do
    [ -s "$dir/display" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.05
done
display=$(head -n 1 "$dir/display")
if [ -z "$display" ]; then
    echo "Xvfb did not start:" >&2
    cat "$dir/log" >&2
    exit 1
fi

DISPLAY=:$display QT_QPA_PLATFORM=xcb "$@"
