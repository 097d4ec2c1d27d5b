#!/bin/bash
# Runs the tests labelled code_page (ctest -L code_page) of a Windows build
# under Wine in a Russian locale, whose ANSI code page is 1251, so that file
# names reach the program in a code page other than Windows-1252.  The run
# has a Wine prefix of its own inside the build directory, with the
# spreadsheet stand-in registered; RT_CODE_PAGE makes the tests fail, not
# skip, should the prefix have another code page.
# Usage: tools/test-codepage.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:?usage: tools/test-codepage.sh BUILD_DIR}")
prefix="$build/wineprefix-ru"
export LC_ALL=ru_RU.UTF-8 RT_CODE_PAGE=1251

stop() { "$root/tools/wine-prefix.sh" "$prefix" stop; }
trap stop EXIT
"$root/tools/wine-prefix.sh" "$prefix" start
"$root/tools/wine-prefix.sh" "$prefix" spreadsheet "$build/bin/RtSpreadsheet.dll"
(cd "$build" && WINEPREFIX="$prefix" ctest --output-on-failure -L code_page)
