#!/usr/bin/env bash
# Runs a command on a private Xvfb server; Xvfb picks a free display itself (-displayfd),
# and -noreset keeps it taking connections when its last client leaves. NODALIS_X_SCREEN
# sets the screen's size and depth.
set -euo pipefail
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "${NODALIS_X_SCREEN:-1280x1024x24}" -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/log" & server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
until [ -s "$dir/display" ] || ! kill -0 "$server" 2>/dev/null; do sleep 0.05; done
display=$(head -n 1 "$dir/display")
[ -n "$display" ] || { echo "Xvfb did not start:" >&2; cat "$dir/log" >&2; exit 1; }
DISPLAY=:$display QT_QPA_PLATFORM=xcb "$@"
