#!/bin/bash
# The real program under Xvfb, driven from the keyboard as a user would: pick
# a car, export it to CSV through the real save dialog, import the file back
# through the real open dialog with its "Car Name" box, and find the new
# database in the user's Install\ folder; export for LubeLogger and for other
# trackers by choosing those file types.  Then the program copied where no
# INSTAIDE.dll is beside it: it starts and says there is no Palm Desktop, and
# with the library in Palm Desktop's registered folder it finds it there.
# Screenshots of the main dialog, the About box, the import dialog and the
# start without Palm Desktop go to OUTPUT_DIR.
#
#   tools/end-to-end.sh [BUILD] [OUTPUT_DIR]   (BUILD: the x86_64 build folder)
set -euo pipefail
build=$(realpath "${1:-build/win64}")
out=$(realpath -m "${2:-$build/shots}")
mkdir -p "$out"
bin="$build/bin"
# Wine titles its own dialogs ("Save As", "Open") in the user's language.
export LC_ALL=C.UTF-8
export WINEPREFIX="$build/wineprefix-x11" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
drive="$WINEPREFIX/drive_c"

. "$(dirname "$0")/x11-session.sh"
trap end_x11_session EXIT
start_xvfb 130 160

fail() { echo "FAIL: $*" >&2; exit 1; }
screenshot() {  # window id, file name
    shoot "$1" "$out/$2"
    echo "screenshot: $out/$2"
}
keys() { sleep 0.3; xdotool key --delay 80 "$@"; }
type_text() { sleep 0.3; xdotool type --delay 20 "$1"; }
wait_file() {
    for _ in $(seq 100); do [ -e "$1" ] && return 0; sleep 0.1; done
    return 1
}
wait_exit() {
    for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
    return 1
}

prepare_x11_prefix
wine reg delete 'HKCU\Software\Kestrelix' /f >/dev/null 2>&1 || true
rm -rf "$drive/PalmE2E" "$drive/e2e" "$drive/alone"
mkdir -p "$drive/e2e"
wine "$bin/make-palm-desktop.exe" 'C:\PalmE2E' 'Jane Doe' --no-cars Bob >/dev/null

echo "== export and import back"
wine "$bin/RTImportExport.exe" >/dev/null 2>&1 &
program=$!
main=$(window "Roadtally Import Export") || fail "the main dialog did not show"
screenshot "$main" main-dialog.png
keys alt+c m                      # the car list: My Car
keys alt+e                        # Export...
window "Save As" >/dev/null || fail "no save dialog"
type_text 'C:\e2e\mycar'          # no extension: the workbook filter, first, adds it
keys Return
# No spreadsheet application in this prefix: the program writes the workbook.
wait_file "$drive/e2e/mycar.xls" || fail "no C:\\e2e\\mycar.xls"
grep -aq "Mileage" "$drive/e2e/mycar.xls" || fail "mycar.xls holds no heading row"
sleep 1
keys alt+i                        # Import...
open=$(window "Open") || fail "no open dialog"
screenshot "$open" import-dialog.png
# The dialog offers the file just exported, and its Car Name box, which has
# the focus, the car chosen in the main dialog: Open as it stands.
keys Return
confirmation=$(window "RTImportExport") || fail "no confirmation"
screenshot "$confirmation" import-confirmation.png
keys Return
queued="$drive/PalmE2E/Jane Doe/Install/RoadtallyDBMy_Car.pdb"
wait_file "$queued" || fail "nothing queued in Jane Doe's Install folder"
echo "queued for the next HotSync: $queued"
sleep 1
# The tracker file types follow the workbook, CSV and All Files entries; each
# export tells what it wrote.  The dialog preselects the last file's type:
# the workbook (1) before LubeLogger (4), CSV (2) before the other trackers (5).
for profile in "lube 3 Day,Month,Year lube - taxes.csv" "tracks 3 Date,Odometer,Volume tracks - costs.csv"; do
    read -r name downs heading side <<<"$profile"
    keys alt+e
    window "Save As" >/dev/null || fail "no save dialog for $name"
    type_text "C:\\e2e\\$name"
    keys alt+t $(printf 'Down %.0s' $(seq "$downs")) Return
    window "RTImportExport" >/dev/null || fail "no message after the export for $name"
    keys Return
    wait_file "$drive/e2e/$side" || fail "no C:\\e2e\\$side"
    head -c 40 "$drive/e2e/$name.csv" | grep -q "^$heading" || fail "$name.csv starts with no $heading heading"
    sleep 1
done
# The system menu's last entry is ours (Wine adds an "About Wine" entry that
# shares its letter).
keys alt+space End Return
about=$(window "About RTImportExport") || fail "no About box"
screenshot "$about" about-box.png
keys Return
keys alt+q
wait_exit "$program" || fail "the program did not end at Quit"
wine reg query 'HKCU\Software\Kestrelix\RTImportExport\Options' /v lastfile | grep -q 'tracks.csv' ||
    fail "lastfile not written at quit"

echo "== without INSTAIDE.dll beside the program"
mkdir -p "$drive/alone"
cp "$bin/RTImportExport.exe" "$drive/alone/"
wine 'C:\alone\RTImportExport.exe' >/dev/null 2>&1 &
program=$!
box=$(window "RTImportExport") || fail "no message without Palm Desktop"
screenshot "$box" no-palm-desktop.png
keys Return
main=$(window "Roadtally Import Export") || fail "no main dialog without Palm Desktop"
screenshot "$main" main-dialog-without-palm-desktop.png
keys alt+q
wait_exit "$program" || fail "the program did not end at Quit"

echo "== INSTAIDE.dll in Palm Desktop's registered folder"
cp "$bin/INSTAIDE.dll" "$drive/PalmE2E/"
wine 'C:\alone\RTImportExport.exe' >/dev/null 2>&1 &
program=$!
window "Roadtally Import Export" >/dev/null || fail "no main dialog"
if window "RTImportExport" 10 >/dev/null; then fail "a message at start-up although Palm Desktop is there"; fi
keys alt+q
wait_exit "$program" || fail "the program did not end at Quit"
wine reg query 'HKCU\Software\Kestrelix\RTImportExport\Options' /v palmuser | grep -q 'Jane Doe' ||
    fail "the user found through the registered folder was not saved"
echo "end-to-end run passed"
