#!/bin/sh
# Usage: check-ordinal-linking.sh OBJDUMP INSTAIDE.dll PROGRAM.exe
# The install library exports exactly the ordinals 101, 102, 103 and 300 and
# no names; the program imports from INSTAIDE.dll by ordinal only.
set -eu
objdump=$1 dll=$2 program=$3
expected="101 102 103 300"
fail() { echo "FAIL: $*"; exit 1; }

dump=$("$objdump" -p "$dll")
exported=$(printf '%s\n' "$dump" | sed -n 's/.*+base\[ *\([0-9]*\)\].*/\1/p' | sort -n | tr '\n' ' ' | sed 's/ $//')
[ "$exported" = "$expected" ] || fail "$dll exports ordinals '$exported', expected '$expected'"
names=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*\[Name Pointer\/Ordinal\] Table[[:space:]]*\([0-9a-fA-F]*\)$/\1/p')
[ -n "$names" ] || fail "$dll: no export name count found"
[ "$((0x$names))" -eq 0 ] || fail "$dll exports $((0x$names)) names"

# The import entries under "DLL Name: INSTAIDE.dll" up to the blank line:
# "<thunk> <hint/ordinal> <name>"; an import by ordinal has the thunk's top
# bit set (8000... in either width) and no name.
entries=$("$objdump" -p "$program" | awk '
    /DLL Name:/ { inside = (toupper($3) == "INSTAIDE.DLL"); next }
    inside && /^[[:space:]]*$/ { inside = 0 }
    inside && $1 != "vma:" { print }')
[ -n "$entries" ] || fail "$program imports nothing from INSTAIDE.dll"
imported=""
while read -r thunk ordinal name rest; do
    case $thunk in 8*) ;; *) fail "$program imports '$thunk $ordinal $name' by name" ;; esac
    [ "$name" = "<none>" ] || fail "$program imports INSTAIDE.dll's $name by name"
    imported="$imported $((0x$(printf '%s' "$thunk" | tail -c 4)))"
done <<ENTRIES
$entries
ENTRIES
for o in $imported; do
    case " $expected " in *" $o "*) ;; *) fail "$program imports ordinal $o, which the library lacks" ;; esac
done
echo "INSTAIDE.dll exports ordinals $exported without names; $(basename "$program") imports ordinals$imported by ordinal"
