#!/usr/bin/env bash
# Runs a command on a private Xvfb server; Xvfb picks a free display itself (-displayfd),
# and -noreset keeps it taking connections when its last client leaves. NODALIS_X_SCREEN
# sets the screen's size and depth; NODALIS_WINDOW_MANAGER=openbox runs the command under openbox,
# with a tint2 panel along the bottom of the screen, once the panel has narrowed the work area.
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
export DISPLAY=:$display
if [ "${NODALIS_WINDOW_MANAGER:-}" = openbox ]; then
    HOME=$dir openbox --sm-disable >"$dir/wm.log" 2>&1 & manager=$!
    HOME=$dir tint2 >"$dir/panel.log" 2>&1 & panel=$!
    trap 'kill "$server" "$manager" "$panel" 2>/dev/null; wait; rm -rf "$dir"' EXIT
    height=${NODALIS_X_SCREEN:-1280x1024x24}; height=${height#*x}; height=${height%x*}
    for _ in $(seq 100); do # the work area's height is its fourth number
        area=$(xprop -root _NET_WORKAREA 2>/dev/null | tr -d ',' | awk "{print \$6}" || true)
        [[ $area =~ ^[0-9]+$ ]] && [ "$area" -lt "$height" ] && break
        sleep 0.1
    done
    [[ $area =~ ^[0-9]+$ ]] && [ "$area" -lt "$height" ] ||
        { echo "openbox and tint2 left no work area:" >&2; cat "$dir"/*.log >&2; exit 1; }
fi
QT_QPA_PLATFORM=xcb "${private[@]}" "$@"
