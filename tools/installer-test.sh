#!/bin/bash
# The installer package as a user meets it, in a Wine prefix made fresh for
# the run: install it silently; the programs, the README, the Start menu
# shortcut and the Programs and Features entry are there; the installed
# program starts (its main dialog shows, under Xvfb) and rtconv --help runs;
# the same package again changes nothing; a package with a higher version
# replaces it; an older one is refused; uninstall removes everything the
# package placed and keeps the user's settings and files.
#
# The 64-bit package runs the whole course.  The 32-bit package (the release)
# is installed and uninstalled in the same prefix but not started: this
# machine's kernel runs no 32-bit code.
#
#   tools/installer-test.sh [BUILD64] [BUILD32]   (default build/win64 and
#                                                  build/win32; no BUILD32 run
#                                                  when it has no package)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
b64=$(realpath "${1:-$root/build/win64}")
b32=$(realpath -m "${2:-$root/build/win32}")
work="$b64/installer-test"
out="$work/shots"

fail() { echo "FAIL: $*" >&2; exit 1; }
ninja -C "$b64" installer installer_upgrade_test >/dev/null
newest() { ls -t "$@" 2>/dev/null | head -1; }
msi=$(newest "$b64"/RTImportExport-*-win64.msi)
newer_msi=$(newest "$work"/RTImportExport-*-win64.msi)
[ -n "$msi" ] && [ -n "$newer_msi" ] || fail "no packages in $b64"
version=$(basename "$msi" | sed 's/^RTImportExport-\(.*\)-win64\.msi$/\1/')
newer=$(basename "$newer_msi" | sed 's/^RTImportExport-\(.*\)-win64\.msi$/\1/')

export LC_ALL=C.UTF-8 WINEDEBUG=-all
# No desktop entries on the host for the shortcut the package makes.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEPREFIX="$work/wineprefix"
drive="$WINEPREFIX/drive_c"
mkdir -p "$out"

. "$root/tools/x11-session.sh"
trap end_x11_session EXIT
# The display comes first: Wine's desktop process, started by the first
# program of the session, keeps the display it found.
start_xvfb 170 199

msiexec() { wine msiexec "$@" >/dev/null 2>&1; }
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# The Programs and Features entries named like the product, one
# "DisplayVersion Publisher URLInfoAbout" line each, in registry view $1
# (the 32-bit view of a 32-bit package is under Wow6432Node).
entries() {
    local key=$uninstall_key
    [ "${1:-}" = 32 ] && key='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall'
    wine reg query "$key" /s 2>/dev/null | tr -d '\r' | awk '
        /^HKEY/ { if (name == "Roadtally Import Export") print ver, pub, url; name = ver = pub = url = "" }
        $1 == "DisplayName" { sub(/^ *DisplayName +REG_SZ +/, ""); name = $0 }
        $1 == "DisplayVersion" { ver = $3 }
        $1 == "Publisher" { pub = $3 }
        $1 == "URLInfoAbout" { url = $3 }
        END { if (name == "Roadtally Import Export") print ver, pub, url }'
}
# Every file and folder of the prefix's drive C:, and the registry's software
# keys, to compare before and after.
snapshot() {
    (cd "$drive" && find . | LC_ALL=C sort) >"$work/$1.files"
    wine reg export 'HKLM\Software' "$(winpath "$work/$1.hklm")" /y >/dev/null 2>&1
    wine reg export 'HKCU\Software' "$(winpath "$work/$1.hkcu")" /y >/dev/null 2>&1
    # Windows Installer's own bookkeeping (its cache folder and its keys) and
    # Wine's own keys are not the package's doing, nor is the Programs and
    # Features list itself (Windows has it; Wine makes it at first use).
    cat "$work/$1.hklm" "$work/$1.hkcu" | iconv -f UTF-16LE -t UTF-8 | tr -d '\r' |
        awk '/^\[/ { key = $0; keep = (key !~ /\\(Installer|Windows Installer)(\\|\])|\\Software\\Wine(\\|\])|\\CurrentVersion\\Uninstall\]/) }
             keep && NF { print key "\t" $0 }' | LC_ALL=C sort >"$work/$1.reg"
}
# What changed between snapshots $1 and $2: "+ path" and "- path" lines, and
# "* [key]" for each registry key made, removed or changed.
changes() {
    diff "$work/$1.files" "$work/$2.files" | sed -n 's/^> /+ /p; s/^< /- /p' |
        grep -v '^+ \./windows/Installer$' || true
    diff "$work/$1.reg" "$work/$2.reg" | sed -n 's/^[<>] \(\[[^\t]*\]\)\t.*$/* \1/p' | uniq || true
}

echo "== [${SECONDS}s] a fresh prefix"
rm -rf "$WINEPREFIX"
prepare_x11_prefix
snapshot before

echo "== [${SECONDS}s] install $(basename "$msi")"
msiexec /i "$(winpath "$msi")" /qn || fail "msiexec /i failed"
install="$drive/Program Files/Kestrelix/Roadtally Import Export"
for f in RTImportExport.exe rtconv.exe README.txt; do
    [ -f "$install/$f" ] || fail "no $f in $install"
done
cmp -s "$install/README.txt" "$root/README.md" || fail "README.txt is not the README"
# The version resource that the files' properties show.
for f in RTImportExport.exe rtconv.exe; do
    info=$(strings -el -n 3 "$install/$f" | grep -A1 -xE 'ProductName|ProductVersion|CompanyName' | grep -v '^--$' | paste -sd' ')
    [ "$info" = "CompanyName Kestrelix ProductName Roadtally Import Export ProductVersion $version" ] ||
        fail "$f's version resource: $info"
done
snapshot installed
# Wine makes the per-machine Programs folder the user's own; Windows the
# all-users one: either is the Start menu.
expected_files="+ ./Program Files/Kestrelix
+ ./Program Files/Kestrelix/Roadtally Import Export
+ ./Program Files/Kestrelix/Roadtally Import Export/README.txt
+ ./Program Files/Kestrelix/Roadtally Import Export/RTImportExport.exe
+ ./Program Files/Kestrelix/Roadtally Import Export/rtconv.exe"
placed=$(changes before installed | grep '^+ \./' | grep -v '^+ \./windows/Installer/')
shortcut=$(echo "$placed" | grep -E '/Start Menu/Programs/Roadtally Import Export\.lnk$' | sed 's/^+ \.\///') ||
    fail "no Start menu shortcut: $placed"
[ "$(echo "$placed" | grep -v '\.lnk$')" = "$expected_files" ] ||
    fail "the package placed other files than expected:
$placed"
grep -aq 'RTImportExport.exe' "$drive/$shortcut" || fail "the shortcut does not lead to the program"
echo "placed:"
echo "$placed" | sed 's/^+ /  /'
[ "$(entries)" = "$version Kestrelix https://kestrelix.example/roadtally/" ] ||
    fail "Programs and Features entry: '$(entries)'"
echo "Programs and Features: Roadtally Import Export $(entries)"

echo "== [${SECONDS}s] the installed programs run"
help=$(wine 'C:\Program Files\Kestrelix\Roadtally Import Export\rtconv.exe' --help 2>&1) ||
    fail "rtconv --help failed"
echo "$help" | grep -q 'usage: rtconv' || fail "rtconv --help said: $help"
echo "rtconv --help: $(echo "$help" | head -1)"
wine 'C:\Program Files\Kestrelix\Roadtally Import Export\RTImportExport.exe' >/dev/null 2>&1 &
program=$!
# No Palm Desktop in this prefix: the program says so, then shows its dialog.
# The first start in a fresh prefix is slow on a busy machine.
box=$(window "RTImportExport" 300) || fail "no message about the missing Palm Desktop"
# A key pressed before the box has the focus is lost (a busy machine was seen
# to do it): Return again for as long as the box stays on the screen.
for _ in $(seq 60); do
    xdotool key Return
    sleep 0.5
    xwininfo -id "$box" 2>/dev/null | grep -q IsViewable || break
done
main=$(window "Roadtally Import Export" 300) || fail "the installed program's main dialog did not show"
shoot "$main" "$out/installed-main-dialog.png"
echo "main dialog shown: $out/installed-main-dialog.png"
xdotool key alt+q
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
! kill -0 "$program" 2>/dev/null || fail "the program did not end at Quit"
wine reg query 'HKCU\Software\Kestrelix\RTImportExport\Options' >/dev/null 2>&1 ||
    fail "the program wrote no settings"
# A file of the user's own in the program's folder, as a save there leaves it.
echo "Date,Mileage" >"$install/my fill-ups.csv"

echo "== [${SECONDS}s] the same package again"
msiexec /i "$(winpath "$msi")" /qn || fail "installing the same package again failed"
[ "$(entries | wc -l)" = 1 ] || fail "entries after reinstall: $(entries)"
[ -f "$install/RTImportExport.exe" ] || fail "the program went at reinstall"

echo "== [${SECONDS}s] a newer package ($newer) replaces it"
msiexec /i "$(winpath "$newer_msi")" /qn || fail "the upgrade failed"
[ "$(entries)" = "$newer Kestrelix https://kestrelix.example/roadtally/" ] ||
    fail "entries after the upgrade: '$(entries)'"
[ -f "$install/RTImportExport.exe" ] && [ -f "$install/my fill-ups.csv" ] ||
    fail "files missing after the upgrade"
echo "Programs and Features: Roadtally Import Export $(entries)"
if msiexec /i "$(winpath "$msi")" /qn; then fail "the older package installed over the newer one"; fi
[ "$(entries)" = "$newer Kestrelix https://kestrelix.example/roadtally/" ] ||
    fail "entries after the refused downgrade: '$(entries)'"
echo "the older package is refused"

echo "== [${SECONDS}s] uninstall"
msiexec /x "$(winpath "$newer_msi")" /qn || fail "msiexec /x failed"
snapshot removed
left=$(changes before removed)
expected_left="+ ./Program Files/Kestrelix
+ ./Program Files/Kestrelix/Roadtally Import Export
+ ./Program Files/Kestrelix/Roadtally Import Export/my fill-ups.csv
* [HKEY_CURRENT_USER\\Software\\Kestrelix\\RTImportExport\\Options]
* [HKEY_CURRENT_USER\\Software\\Kestrelix\\RTImportExport]
* [HKEY_CURRENT_USER\\Software\\Kestrelix]"
[ "$left" = "$expected_left" ] || fail "after uninstall, other changes than the user's own are left:
$left"
echo "left after uninstall (the user's own):"
echo "$left" | sed 's/^+ /  /'

echo "== [${SECONDS}s] another folder of the user's choice"
msiexec /i "$(winpath "$newer_msi")" /qn 'INSTALLDIR=C:\Tools\Roadtally' || fail "install into C:\Tools\Roadtally failed"
[ -f "$drive/Tools/Roadtally/RTImportExport.exe" ] || fail "the program is not in C:\Tools\Roadtally"
[ ! -e "$install/RTImportExport.exe" ] || fail "the program went into the default folder as well"
msiexec /x "$(winpath "$newer_msi")" /qn || fail "msiexec /x failed"
[ ! -e "$drive/Tools/Roadtally" ] || fail "C:\Tools\Roadtally is left after uninstall"
echo "installed into and removed from C:\Tools\Roadtally"

pkg32=$(newest "$b32"/RTImportExport-*-win32.msi)
if [ -n "$pkg32" ]; then
    echo "== [${SECONDS}s] the 32-bit package: install and uninstall (not started)"
    rm -rf "$drive/Program Files/Kestrelix"
    wine reg delete 'HKCU\Software\Kestrelix' /f >/dev/null 2>&1
    snapshot before32
    msiexec /i "$(winpath "$pkg32")" /qn || fail "msiexec /i of the 32-bit package failed"
    install32="$drive/Program Files (x86)/Kestrelix/Roadtally Import Export"
    for f in RTImportExport.exe rtconv.exe README.txt; do
        [ -f "$install32/$f" ] || fail "no $f in $install32"
    done
    snapshot installed32
    changes before32 installed32 | grep -q '/Start Menu/Programs/Roadtally Import Export\.lnk$' ||
        fail "no Start menu shortcut for the 32-bit package"
    [ "$(entries 32)" = "$version Kestrelix https://kestrelix.example/roadtally/" ] ||
        fail "32-bit Programs and Features entry: '$(entries 32)'"
    echo "Programs and Features (32-bit view): Roadtally Import Export $(entries 32)"
    msiexec /x "$(winpath "$pkg32")" /qn || fail "msiexec /x of the 32-bit package failed"
    snapshot removed32
    left=$(changes before32 removed32)
    [ -z "$left" ] || fail "the 32-bit package left:
$left"
    echo "the 32-bit package removed everything it placed"
fi
echo "installer test passed"
