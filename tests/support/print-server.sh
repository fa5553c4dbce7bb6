#!/usr/bin/env bash
# Runs a CUPS server in FOLDER (where lp may enter) until killed, with a cups-pdf queue "PDF"
# writing into FOLDER/out; says "ready" once it takes jobs.
set -euo pipefail
dir=$1
[ "$(id -u)" -eq 0 ] || { echo "cups-pdf prints only for a server run as root" >&2; exit 1; }
mkdir -p "$dir"/{out,spool,cache,state,log,pdf-spool} && mkdir -m 1777 "$dir/tmp" && chmod 755 "$dir"
printf '%s\n' "Listen $dir/cups.sock" "Browsing No" "WebInterface No" "LogLevel debug" \
    "<Location />" "Allow all" "</Location>" "<Policy default>" "<Limit All>" "</Limit>" \
    "</Policy>" >"$dir/cupsd.conf"
printf '%s\n' "ServerRoot $dir" "RequestRoot $dir/spool" "TempDir $dir/tmp" "StateDir $dir/state" \
    "CacheDir $dir/cache" "ErrorLog $dir/log/error_log" "AccessLog $dir/log/access_log" \
    "PageLog $dir/log/page_log" "Printcap $dir/printcap" "SystemGroup root" >"$dir/cups-files.conf"
printf '%s\n' "Out $dir/out" "AnonDirName $dir/out" "Spool $dir/pdf-spool" "Log $dir/log" \
    "Grp root" >"$dir/cups-pdf.conf"
setpriv --pdeathsig KILL unshare --mount --propagation private sh -c \
    'mount --bind "$0/cups-pdf.conf" /etc/cups/cups-pdf.conf &&
     exec cupsd -f -c "$0/cupsd.conf" -s "$0/cups-files.conf"' "$dir" 2>"$dir/log/server" &
server=$!
export CUPS_SERVER=$dir/cups.sock
until [ -S "$CUPS_SERVER" ] || ! kill -0 $server 2>/dev/null; do sleep 0.1; done
[ -S "$CUPS_SERVER" ] || { echo "cupsd did not start: $(cat "$dir/log/server")" >&2; exit 1; }
lpadmin -p PDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
    -o pdftops-renderer-default=pdftocairo # which keeps the text
echo ready
wait $server
