#!/usr/bin/env bash
# Runs a command on a private Xvfb server; Xvfb picks a free display itself (-displayfd),
# and -noreset keeps it taking connections when its last client leaves. NODALIS_X_SCREEN
# sets the screen's size and depth; NODALIS_WINDOW_MANAGER=openbox adds openbox and a tint2 panel.
# The command runs in a network namespace of its own, so that abstract Unix socket names, such as
# the single-instance lock of Nodalis, never meet those of the user's programs or of another run.
# Xvfb stays outside it, where it sees every other X server's socket and so picks a free display.
# Everything on it, D-Bus services and the window manager included, has a home and XDG folders
# of its own, so that nothing there reads or writes the user's.
set -euo pipefail
as_user=$([ "$(id -u)" = 0 ] || echo -r) # an unprivileged user maps itself to root in it
private=(unshare $as_user --net --)
"${private[@]}" true 2>/dev/null || private=()
dir=$(mktemp -d)
export HOME=$dir XDG_CONFIG_HOME=$dir XDG_STATE_HOME=$dir XDG_DATA_HOME=$dir XDG_CACHE_HOME=$dir
Xvfb -displayfd 3 -screen 0 "${NODALIS_X_SCREEN:-1280x1024x24}" -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/log" & server=$!
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$dir"' EXIT # the server, and openbox and tint2
until [ -s "$dir/display" ] || ! kill -0 "$server" 2>/dev/null; do sleep 0.05; done
export DISPLAY=:$(head -n 1 "$dir/display")
[ "$DISPLAY" != : ] || { echo "Xvfb did not start:" >&2; cat "$dir/log" >&2; exit 1; }
if [ "${NODALIS_WINDOW_MANAGER:-}" = openbox ]; then
    openbox --sm-disable >"$dir/wm.log" 2>&1 & tint2 >"$dir/panel.log" 2>&1 &
    size=${NODALIS_X_SCREEN:-1280x1024x24} && size=${size%x*}
    timeout 10 sh -c "until xprop -root _NET_WORKAREA | grep -v '= 0, 0, ${size/x/, },' | grep -q =
        do sleep 0.1; done" || { echo "No work area:" >&2; cat "$dir"/*.log >&2; exit 1; }
fi
QT_QPA_PLATFORM=xcb "${private[@]}" "$@"
