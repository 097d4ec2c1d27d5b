#!/bin/sh
# Usage: check-ordinal-linking.sh OBJDUMP INSTAIDE.dll PROGRAM.exe...
# The install library exports exactly the ordinals 101, 102, 103 and 300 and
# no names, so whoever calls it can only call it by ordinal.  The programs do
# not import it at load time: Windows would refuse to start them where the
# library is missing, before they could say anything.  (That they call it by
# ordinal, at run time, the tests that reach the stand-in show.)
set -eu
objdump=$1 dll=$2
shift 2
expected="101 102 103 300"
fail() { echo "FAIL: $*"; exit 1; }

dump=$("$objdump" -p "$dll")
exported=$(printf '%s\n' "$dump" | sed -n 's/.*+base\[ *\([0-9]*\)\].*/\1/p' | sort -n | tr '\n' ' ' | sed 's/ $//')
[ "$exported" = "$expected" ] || fail "$dll exports ordinals '$exported', expected '$expected'"
names=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*\[Name Pointer\/Ordinal\] Table[[:space:]]*\([0-9a-fA-F]*\)$/\1/p')
[ -n "$names" ] || fail "$dll: no export name count found"
[ "$((0x$names))" -eq 0 ] || fail "$dll exports $((0x$names)) names"

for program in "$@"; do
    imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p')
    [ -n "$imports" ] || fail "$program: no import table found"
    if printf '%s\n' "$imports" | grep -qi '^instaide\.dll$'; then
        fail "$program imports INSTAIDE.dll at load time"
    fi
    echo "$(basename "$program") does not need INSTAIDE.dll to start (imports: $(printf '%s' "$imports" | tr '\n' ' '))"
done
echo "INSTAIDE.dll exports ordinals $exported without names"
