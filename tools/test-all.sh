#!/bin/bash
# Builds everything and runs every test: the native core under the
# sanitizers with short fuzz runs; the same core as 32-bit x86 code with the
# release build's arithmetic, under user-mode emulation; the 32-bit Windows
# release build and its zip; and the 64-bit Windows tests under Wine, once in
# English and once in a German locale, and the date, record and table tests a
# third time where the clocks change at midnight.
#
# The 32-bit Windows programs themselves are not run: this machine's kernel
# runs no 32-bit code (ia32 emulation is off), and 32-bit Wine cannot start
# without it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RT_BUILD_DIR:-$root/build}

"$root/tools/install-deps.sh"

echo "== native core (clang, AddressSanitizer, UndefinedBehaviorSanitizer, libFuzzer)"
cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DRT_SANITIZE=ON -DRT_FUZZ=ON >/dev/null
ninja -C "$build/native" >/dev/null
(cd "$build/native" && ctest --output-on-failure -j2)

echo "== the platform-free core as 32-bit x86 code (the release build's SSE2 arithmetic), under qemu-i386"
cmake -S "$root" -B "$build/native-i686" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/linux-i686.cmake" >/dev/null
ninja -C "$build/native-i686" >/dev/null
(cd "$build/native-i686" && ctest --output-on-failure -j2)

echo "== Windows i686 release build: the zip and the installer package"
cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
# Only what ships: the 32-bit test programs could not run here (see above).
ninja -C "$build/win32" release_zip installer >/dev/null

echo "== Windows x86_64 build"
cmake -S "$root" -B "$build/win64" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
ninja -C "$build/win64" >/dev/null

en_prefix="$build/win64/wineprefix"
de_prefix="$build/win64/wineprefix-de"
stop_wine() {
    "$root/tools/wine-prefix.sh" "$en_prefix" stop
    "$root/tools/wine-prefix.sh" "$de_prefix" stop
}
trap stop_wine EXIT

# The spreadsheet stand-in: registered for the English run, so workbooks go
# through it; for the German run only while the workbook tests run, so the
# whole suite runs once more without it (".xls" then gives no table file).
spreadsheet="$build/win64/bin/RtSpreadsheet.dll"

echo "== Windows tests under Wine, English locale, with the spreadsheet stand-in"
LC_ALL=C.UTF-8 "$root/tools/wine-prefix.sh" "$en_prefix" start
LC_ALL=C.UTF-8 "$root/tools/wine-prefix.sh" "$en_prefix" spreadsheet "$spreadsheet"
(cd "$build/win64" && LC_ALL=C.UTF-8 WINEPREFIX="$en_prefix" ctest --output-on-failure)
"$root/tools/wine-prefix.sh" "$en_prefix" stop

echo "== The installer packages under Wine: install, run, upgrade, uninstall"
"$root/tools/installer-test.sh" "$build/win64" "$build/win32"

echo "== Workbook names in another ANSI code page (Russian locale, 1251)"
"$root/tools/test-codepage.sh" "$build/win64"

echo "== Windows tests under Wine, German locale (list separator ';', day-month-year dates)"
export LC_ALL=de_DE.UTF-8 TZ=Europe/Berlin
"$root/tools/wine-prefix.sh" "$de_prefix" start
echo "-- workbook tests with the spreadsheet stand-in"
"$root/tools/wine-prefix.sh" "$de_prefix" spreadsheet "$spreadsheet"
(cd "$build/win64" && WINEPREFIX="$de_prefix" ctest --output-on-failure -L workbook)
echo "-- every test without a spreadsheet application"
"$root/tools/wine-prefix.sh" "$de_prefix" no-spreadsheet "$spreadsheet"
(cd "$build/win64" && WINEPREFIX="$de_prefix" ctest --output-on-failure)

echo "== Date, record and table tests under Wine where the clocks skip midnight (Brazil's 2006 and 2018 rule)"
# Wine takes the current year's rules of the Unix zone and applies them to
# every year; America/Sao_Paulo has had no summer time since 2019, so its
# rule of 2006 and 2018 (summer time from the first Sunday of November at
# 00:00, local midnight skipped) is spelled out.
"$root/tools/wine-prefix.sh" "$de_prefix" stop
export TZ='<-03>3<-02>,M11.1.0/0,M2.3.0/0'
"$root/tools/wine-prefix.sh" "$de_prefix" start
(cd "$build/win64" && WINEPREFIX="$de_prefix" ctest -L local_time --output-on-failure)
