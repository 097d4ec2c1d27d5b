#!/bin/bash
# Installs what a fresh Debian 12 machine lacks to build and test (as root).
set -euo pipefail
packages=(cmake ninja-build clang libclang-rt-14-dev googletest
          g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
          wine wine64 libpalm-perl locales xvfb x11-apps imagemagick
          # CSV files we write are checked in LibreOffice Calc (about 20 s to install).
          libreoffice-calc-nogui python3
          # Screenshots under Xvfb: Wine's X11 driver libraries, its fonts, xwininfo.
          fonts-wine libxrender1 libxcursor1 libxi6 libxrandr2 x11-utils
          # Workbooks we write are read by Gnumeric and xlrd as well.
          gnumeric python3-xlrd

          # The program driven from the keyboard under Xvfb.
          xdotool
          # The platform-free core built as 32-bit code and run under
          # user-mode emulation: this kernel runs no 32-bit programs.
          g++-multilib qemu-user-static
          # The Windows Installer package, built from installer/RTImportExport.wxs.
          wixl)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# The second-locale run needs German; the code page run (tools/test-codepage.sh)
# Russian, whose Windows ANSI code page is 1251.
for locale in de_DE ru_RU; do
    if ! locale -a 2>/dev/null | grep -qi "^$locale\.utf-\?8$"; then
        sed -i "s/^# *$locale.UTF-8 UTF-8/$locale.UTF-8 UTF-8/" /etc/locale.gen
        locale-gen >/dev/null
    fi
done
