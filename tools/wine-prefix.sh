#!/bin/bash
# Creates (once) a private, quiet Wine prefix for the tests and starts its
# persistent wineserver.  Usage: tools/wine-prefix.sh PREFIX [start|stop]
set -eu
prefix=$(realpath -m "$1")
action=${2:-start}
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ "$action" = stop ]; then
    wineserver -k 2>/dev/null || true
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
wineserver -p
wine wineboot >/dev/null 2>&1 || true
