#!/bin/bash
# The program at 100 % and 150 % (96 and 144 dots per inch, Wine's LogPixels)
# under Xvfb: screenshots of the main dialog, the About box and the import
# dialog at each, and a check that the windows and the buttons' icons grow
# with the resolution.  A program that does not declare itself aware of the
# resolution keeps its 96-dpi size (Windows would stretch and blur it), and
# an icon drawn at 32 pixels at 144 dpi stays as small as at 96: both fail.
#
#   tools/dpi-screenshots.sh [BUILD] [OUTPUT_DIR]   (BUILD: the x86_64 build)
set -euo pipefail
build=$(realpath "${1:-build/win64}")
out=$(realpath -m "${2:-$build/shots-dpi}")
mkdir -p "$out"
bin="$build/bin"
export LC_ALL=C.UTF-8 WINEPREFIX="$build/wineprefix-dpi" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

. "$(dirname "$0")/x11-session.sh"
trap end_x11_session EXIT
start_xvfb 200 229

fail() { echo "FAIL: $*" >&2; exit 1; }
keys() { sleep 0.3; xdotool key --delay 80 "$@"; }
size() { identify -format '%w %h' "$1"; }
# Height in pixels of what the Import button's icon draws in the handheld's
# dark body colour, looked for where the button lies (the left quarter of
# the dialog, 45 to 80 % down).
icon_height() {
    local w h
    read -r w h <<<"$(size "$1")"
    convert "$1" -crop $((w / 4))x$((h * 35 / 100))+0+$((h * 45 / 100)) +repage \
            -fuzz 4% -fill white +opaque '#34495e' -trim -format '%h' info:
}
# Whether $1 is at least 1.4 times $2 (150 % less rounding).
grown() { [ $(($1 * 10)) -ge $(($2 * 14)) ]; }

prepare_x11_prefix
wine reg delete 'HKCU\Software\Kestrelix' /f >/dev/null 2>&1 || true
wine "$bin/make-palm-desktop.exe" 'C:\PalmDpi' 'Jane Doe' >/dev/null

for dpi in 96 144; do
    echo "== $dpi dpi"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
    # A new session reads the resolution afresh.
    wineserver -k 2>/dev/null || true
    wineserver -w
    wineserver -p
    wine "$bin/RTImportExport.exe" >/dev/null 2>&1 &
    program=$!
    main=$(window "Roadtally Import Export") || fail "the main dialog did not show"
    shoot "$main" "$out/main-dialog-$dpi.png"
    keys alt+space End Return
    about=$(window "About RTImportExport") || fail "no About box"
    shoot "$about" "$out/about-box-$dpi.png"
    keys Return
    keys alt+i
    open=$(window "Open") || fail "no import dialog"
    shoot "$open" "$out/import-dialog-$dpi.png"
    keys Escape
    keys alt+q
    for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
    for f in main-dialog about-box import-dialog; do
        echo "$f-$dpi.png: $(size "$out/$f-$dpi.png") pixels"
    done
    echo "buttons' icons: $(icon_height "$out/main-dialog-$dpi.png") pixels high"
done
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1

for f in main-dialog about-box import-dialog; do
    read -r w96 h96 <<<"$(size "$out/$f-96.png")"
    read -r w144 h144 <<<"$(size "$out/$f-144.png")"
    grown "$w144" "$w96" && grown "$h144" "$h96" ||
        fail "$f is ${w144}x$h144 at 144 dpi, ${w96}x$h96 at 96: not drawn at the display's resolution"
done
i96=$(icon_height "$out/main-dialog-96.png")
i144=$(icon_height "$out/main-dialog-144.png")
grown "$i144" "$i96" || fail "the buttons' icons are $i144 pixels high at 144 dpi, $i96 at 96: not scaled"
echo "every window and the icons grow with the resolution; screenshots in $out"
