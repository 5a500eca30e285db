#!/usr/bin/env bash
# Direct printing end to end: a CUPS server with a PDF printer, "/pt" on the command line,
# one page that shows the home page, scaled to the printable area. Needs root (it starts
# cupsd and adds a printer); skipped otherwise.
set -euo pipefail
game="${1:?usage: print.sh path/to/tessarin}"
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: printing needs root to run its own CUPS server"
    exit 77
fi
for tool in cupsd lpadmin lpstat pdfinfo pdftoppm convert; do
    command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || {
        echo "FAIL: $tool is missing (scripts/deps.sh installs it)"
        exit 1
    }
done

work="$(mktemp -d)"
out="$work/out"
mkdir -p "$out"
chmod 1777 "$out"
conf=/etc/cups/cups-pdf-tessarintest.conf
printer=TessarinTestPDF
cupsd_pid=""
cleanup() {
    lpadmin -x "$printer" 2>/dev/null || true
    rm -f "$conf"
    if [ -n "$cupsd_pid" ]; then
        kill "$cupsd_pid" 2>/dev/null || true
        wait "$cupsd_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

printf 'Out %s\nAnonDirName %s\n' "$out" "$out" >"$conf"
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    /usr/sbin/cupsd -f &
    cupsd_pid=$!
    for _ in $(seq 1200); do # a limit only a hang reaches
        lpstat -r 2>/dev/null | grep -q "is running" && break
        sleep 0.1
    done
fi
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
