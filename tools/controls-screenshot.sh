#!/bin/bash
# Screenshots of the controls under Xvfb with the desktop theme on: the test
# dialog with the links and the icon buttons, and the open-file dialog with
# the car-name box.  Usage: tools/controls-screenshot.sh [BUILD] [OUTPUT_DIR]
# (BUILD is the x86_64 build folder holding bin/controls-showcase.exe).
set -euo pipefail
build=$(realpath "${1:-build/win64}")
out=$(realpath -m "${2:-$build/shots}")
mkdir -p "$out"
export WINEPREFIX="$build/wineprefix-shots" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

. "$(dirname "$0")/x11-session.sh"
trap end_x11_session EXIT
start_xvfb 70 99

prepare_x11_prefix
# Wine's own theme on.
theme='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
wine reg add "$theme" /v ThemeActive /d 1 /f >/dev/null 2>&1
wine reg add "$theme" /v DllName /d 'C:\windows\resources\themes\light\light.msstyles' /f >/dev/null 2>&1
wine reg add "$theme" /v ColorName /d Blue /f >/dev/null 2>&1
wine reg add "$theme" /v SizeName /d NormalSize /f >/dev/null 2>&1
# The next program starts a new session, which reads the theme.
wineserver -k 2>/dev/null || true

# Captures the top-level window titled $1 into $2.png once it shows.
capture() {
    local id
    id=$(window "$1" 200) || { echo "no window \"$1\"" >&2; return 1; }
    shoot "$id" "$out/$2.png"
    echo "$out/$2.png"
}

wine "$build/bin/controls-showcase.exe" >/dev/null 2>&1 &
capture Controls controls-dialog
wineserver -k 2>/dev/null || true
wine "$build/bin/controls-showcase.exe" file >/dev/null 2>&1 &
capture Open controls-file-dialog
