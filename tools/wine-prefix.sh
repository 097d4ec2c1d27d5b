#!/bin/bash
# Creates (once) a private, quiet Wine prefix for the tests and starts its
# persistent wineserver; registers or unregisters the spreadsheet stand-in
# (the prefix's "Excel.Application") in a started prefix.
# Usage: tools/wine-prefix.sh PREFIX [start|stop]
#        tools/wine-prefix.sh PREFIX spreadsheet|no-spreadsheet RtSpreadsheet.dll
set -eu
prefix=$(realpath -m "$1")
action=${2:-start}
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ "$action" = stop ]; then
    wineserver -k 2>/dev/null || true
    exit 0
fi

if [ "$action" = spreadsheet ] || [ "$action" = no-spreadsheet ]; then
    dll=${3:?the stand-in DLL}
    if [ "$action" = spreadsheet ]; then wine regsvr32 /s "$dll"; else wine regsvr32 /u /s "$dll"; fi
    exit 0
fi

if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix"
    # The first boot prints loader lines that WINEDEBUG cannot silence.
    wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # Tests drive dialogs in-process without an X server.
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    wineserver -w
fi
# A server already running for this prefix (a run by hand, say) serves as well.
wineserver -p 2>/dev/null || true
wine wineboot >/dev/null 2>&1 || true
