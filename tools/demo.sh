#!/bin/bash
# The program on a demo Palm Desktop: installs what is missing (as root),
# builds, makes a Palm Desktop with two handheld users (Jane Doe with three
# sample cars, Bob with none) in a Wine prefix of its own, and starts
# RTImportExport.exe on it.  With a display the program stays until you quit
# it; without one it runs under Xvfb, a screenshot of the main dialog is
# written into the build folder, and the command ends by itself.
#
#   tools/demo.sh [BUILD_DIR]      (default: build/demo)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build/demo}")

"$root/tools/install-deps.sh"

echo "== building the program and the demo's stand-ins"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
targets=(RTImportExport instaide make-palm-desktop)
# The spreadsheet stand-in, when this checkout has it.
if ninja -C "$build" -t targets all 2>/dev/null | grep -q '^spreadsheet_standin:'; then targets+=(spreadsheet_standin); fi
ninja -C "$build" "${targets[@]}" >/dev/null

export WINEPREFIX="$build/wineprefix-demo" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEARCH
. "$root/tools/x11-session.sh"
trap end_x11_session EXIT
# No display: one of our own.
[ -n "${DISPLAY:-}" ] || start_xvfb 90 120

echo "== the demo Palm Desktop in $WINEPREFIX"
prepare_x11_prefix
wine "$build/bin/make-palm-desktop.exe" 'C:\PalmDemo' 'Jane Doe' --no-cars Bob | tr -d '\r'
spreadsheet="$build/bin/RtSpreadsheet.dll"
if [ -f "$spreadsheet" ]; then
    wine regsvr32 /s "$spreadsheet" >/dev/null 2>&1 && echo "spreadsheet stand-in registered as Excel.Application"
fi

echo "== starting RTImportExport.exe"
if [ -z "$xvfb" ]; then
    wine "$build/bin/RTImportExport.exe"
    exit 0
fi
wine "$build/bin/RTImportExport.exe" >/dev/null 2>&1 &
id=$(window "Roadtally Import Export" 300) || { echo "the main dialog did not show" >&2; exit 1; }
shot="$build/demo-main-dialog.png"
shoot "$id" "$shot"
echo "Screenshot of the main dialog: $shot"
