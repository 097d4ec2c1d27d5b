#!/bin/sh
# Builds one benchmark of a Windows build (Release; x86_64 unless ARCH says
# i686) and runs it under Wine in a prefix of its own.
# Usage: bench/run.sh csv_bench|pipeline_bench|workbook_bench|rtconv_bench|dialog_bench [BUILD-DIR [ARCH [ARGUMENT...]]]
# (the arguments go to the benchmark)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bench=${1:?usage: bench/run.sh csv_bench|pipeline_bench|workbook_bench|rtconv_bench|dialog_bench [BUILD-DIR [ARCH]]}
build=${2:-$root/build/bench}
arch=${3:-x86_64}
[ $# -gt 3 ] && shift 3 || set --
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" >/dev/null
ninja -C "$build" "$bench" spreadsheet_standin >/dev/null
prefix="$build/wineprefix"
"$root/tools/wine-prefix.sh" "$prefix" start >/dev/null 2>&1 </dev/null
# Workbooks go to the spreadsheet stand-in.
"$root/tools/wine-prefix.sh" "$prefix" spreadsheet "$build/bin/RtSpreadsheet.dll" </dev/null
status=0
WINEPREFIX="$prefix" "$build/wine-run" "$build/bin/$bench.exe" "$@" </dev/null || status=$?
"$root/tools/wine-prefix.sh" "$prefix" stop
exit $status
