#!/bin/sh
# Installs what building, running and testing need on a fresh Debian 12 machine.
# Only what is missing is installed; nothing is downloaded from outside Debian.
set -eu
packages="cmake ninja-build g++ libgtest-dev googletest
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-win32
  g++-mingw-w64-x86-64-win32 binutils-mingw-w64-i686
  binutils-mingw-w64-x86-64 wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick icoutils
  python3 python3-pefile locales debootstrap"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd=sudo
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends $missing
fi
# Wine takes the user's language from LANG; the locales must exist for it to take them.
for loc in en_US de_DE; do
  if ! locale -a 2>/dev/null | grep -qi "^$loc.utf-\?8$"; then
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd=sudo
    grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null ||
      echo "$loc.UTF-8 UTF-8" | $sudo_cmd tee -a /etc/locale.gen >/dev/null
    $sudo_cmd locale-gen >/dev/null
  fi
done
