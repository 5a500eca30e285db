#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# Direct printing end to end: a CUPS server with a PDF printer, "/pt" on the command line,
# one page that shows the home page, scaled to the printable area. Needs root (it starts
# cupsd and adds a printer); skipped otherwise.
# The server, its printer and everything they write are the test's own: the test runs in a
# mount namespace of its own, where the folders of CUPS and of the PDF printer (configuration,
# spool, cache, logs, the server's socket) are empty memory file systems that vanish with it.
# The system's printers, its CUPS configuration and job history, and a CUPS server already
# running are never touched, and two of these tests can run at once.
set -euo pipefail
game="${1:?usage: print.sh path/to/tessarin}"
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: printing needs root to run its own CUPS server"
    exit 77
fi
for tool in cupsd lpadmin lpstat pdfinfo pdftoppm convert; do
    command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || {
        echo "FAIL: $tool is missing (scripts/deps.sh --tests installs it)"
        exit 1
    }
done

if [ -z "${TESSARIN_PRINT_NAMESPACE:-}" ]; then
    unshare --mount --pid --fork true 2>/dev/null ||
        { echo "SKIP: no mount namespace of its own can be made here"; exit 77; }
    # A process namespace too: whatever ends the test, the server ends with it.
    TESSARIN_PRINT_NAMESPACE=1 exec unshare --mount --propagation private --pid --fork \
        --kill-child bash "${BASH_SOURCE[0]}" "$@"
fi
for dir in /etc/cups /var/spool/cups /var/cache/cups /var/log/cups /var/spool/cups-pdf /run; do
    [ -d "$dir" ] && mount -t tmpfs tessarin-print "$dir"
done
mkdir -p /run/cups
# The server's own configuration is Debian's default, heard only on its socket, never on the
# network; the clients (lpadmin, lpstat and the game's) ask that socket and no other server.
sed -E '/^(Listen|Port) /d; s/^Browsing .*/Browsing No/; /^BrowseLocalProtocols /d' \
    /usr/share/cups/cupsd.conf.default >/etc/cups/cupsd.conf
echo "Listen /run/cups/cups.sock" >>/etc/cups/cupsd.conf
cp /usr/share/cups/cups-files.conf.default /etc/cups/cups-files.conf
export CUPS_SERVER=/run/cups/cups.sock

work="$(mktemp -d)"
out="$work/out"
mkdir -p "$out"
chmod 1777 "$out"
printer=TessarinTestPDF
cupsd_pid=""
cleanup() {
    if [ -n "$cupsd_pid" ]; then
        kill "$cupsd_pid" 2>/dev/null || true
        wait "$cupsd_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

printf 'Out %s\nAnonDirName %s\n' "$out" "$out" >/etc/cups/cups-pdf-tessarintest.conf
/usr/sbin/cupsd -f &
cupsd_pid=$!
for _ in $(seq 1200); do # a limit only a hang reaches
    lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.1
done
lpstat -r | grep -q "is running" || { echo "FAIL: cupsd did not start"; exit 1; }
lpadmin -p "$printer" -E -v cups-pdf:/tessarintest -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd

doc="$work/game.mek"
: >"$doc"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy

# A printer that does not exist: refused, nothing printed anywhere.
status=0
err="$("$game" /pt "$doc" NoSuchPrinterAnywhere driver port 2>&1)" || status=$?
[ "$status" -ne 0 ] || { echo "FAIL: an unknown printer was accepted"; exit 1; }
grep -q "Could not start print job." <<<"$err" || { echo "FAIL: no message: $err"; exit 1; }

# The named printer: exactly one page.
"$game" /pt "$doc" "$printer" driver port || { echo "FAIL: printing ended with $?"; exit 1; }
pdf=""
for _ in $(seq 300); do
    for f in "$out"/*.pdf; do
        [ -e "$f" ] && pdfinfo "$f" >/dev/null 2>&1 && pdf="$f"
    done
    [ -n "$pdf" ] && break
    sleep 0.2
done
[ -n "$pdf" ] || { echo "FAIL: no PDF arrived in $out"; ls -la "$out"; exit 1; }
sleep 1
count=$(find "$out" -name '*.pdf' | wc -l)
[ "$count" -eq 1 ] || { echo "FAIL: $count print jobs arrived"; exit 1; }
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = 1 ] || { echo "FAIL: $pages pages printed"; exit 1; }

pdftoppm -r 60 -png "$pdf" "$work/page"
png="$(ls "$work"/page*.png | head -1)"
[ -z "${TESSARIN_KEEP_PAGE:-}" ] || cp "$png" "$TESSARIN_KEEP_PAGE"

# The page is scaled to the paper: the picture spans most of the printable width.
read -r trimmed_w _ page_w _ < <(convert "$png" -trim -format '%w %h %W %H\n' info:)
[ $((trimmed_w * 100)) -ge $((page_w * 60)) ] ||
    { echo "FAIL: the home page covers $trimmed_w of $page_w pixels across"; exit 1; }

# The home page's colours: the title, the tune panel's heading and selected tune, and the
# strong colours of the shape pictures.
convert "$png" -depth 8 txt:- | awk '
    function near(r, g, b, R, G, B) { return (r-R)^2 + (g-G)^2 + (b-B)^2 < 30*30 }
    /^[0-9]+,[0-9]+: \(/ {
        match($0, /\([0-9.]+,[0-9.]+,[0-9.]+/)
        split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
        r = c[1] + 0; g = c[2] + 0; b = c[3] + 0
        if (near(r, g, b, 32, 200, 120)) title++
        if (near(r, g, b, 192, 255, 255)) heading++
        if (near(r, g, b, 125, 225, 182)) tune++
        if (r > 200 && g < 60 && b < 60) red++
        if (r > 200 && g > 200 && b < 60) yellow++
    }
    END {
        printf "title %d, tune heading %d, selected tune %d, red %d, yellow %d\n", title, heading, tune, red, yellow
        exit !(title > 20 && heading > 20 && tune > 10 && red > 20 && yellow > 20)
    }' || { echo "FAIL: the printed page does not show the home page"; exit 1; }
echo "PASS: one page with the home page"
