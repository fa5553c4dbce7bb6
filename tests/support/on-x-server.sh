#!/usr/bin/env bash
# Runs a command on a private Xvfb server; Xvfb picks a free display itself (-displayfd),
# and -noreset keeps it taking connections when its last client leaves. NODALIS_X_SCREEN
# sets the screen's size and depth.
# The command runs in a network namespace of its own, so that abstract Unix socket names, such as
# the single-instance lock of Nodalis, never meet those of the user's programs or of another run.
# Xvfb stays outside it, where it sees every other X server's socket and so picks a free display.
set -euo pipefail
as_user=$([ "$(id -u)" = 0 ] || echo -r) # an unprivileged user maps itself to root in it
private=(unshare $as_user --net --)
"${private[@]}" true 2>/dev/null || private=()
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "${NODALIS_X_SCREEN:-1280x1024x24}" -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/log" & server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
until [ -s "$dir/display" ] || ! kill -0 "$server" 2>/dev/null; do sleep 0.05; done
display=$(head -n 1 "$dir/display")
[ -n "$display" ] || { echo "Xvfb did not start:" >&2; cat "$dir/log" >&2; exit 1; }
DISPLAY=:$display QT_QPA_PLATFORM=xcb "${private[@]}" "$@"
