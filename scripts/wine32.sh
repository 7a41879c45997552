#!/bin/sh
# The 32-bit Wine of the win32 tests: an i386 Debian 12 userland with Wine in a chroot, its
# programs run by qemu-user through binfmt_misc (this kernel runs no 32-bit Linux programs).
#
#   wine32.sh --setup           makes what is missing (needs root; a second run reuses it all)
#   wine32.sh --exec CMD ARG... runs CMD inside the chroot
#   wine32.sh PROGRAM ARG...    runs the Windows PROGRAM under the chroot's Wine (the win32
#                               preset's cross-compiling emulator)
#
# Everything lives outside the work tree, so a clean build never removes it:
# $LR_WINE32_HOME (default /var/cache/lumorarepair) holds qemu/ (the unpacked qemu-user of
# bookworm-backports), apt/ (the private apt state that fetched it) and i386/ (the chroot).
# Each run enters a mount namespace of its own: /proc, /sys, /dev, /tmp/.X11-unix, the
# X authority's folder and the work tree are mounted there, seen by no other process, and gone
# with the run's last process however it ends; the chroot's folder itself never holds a mount.
set -eu
home=${LR_WINE32_HOME:-/var/cache/lumorarepair}
root=$home/i386
qemu=$home/qemu/usr/bin/qemu-i386
tree=$(cd "$(dirname "$0")/.." && pwd)
self=$tree/scripts/wine32.sh

fail() { echo "wine32: $*" >&2; exit 1; }

# Inside a new mount namespace (private: nothing propagates back): mount what the chroot's
# programs need, then run the command there.
in_chroot() {
  [ "$(id -u)" -eq 0 ] || fail "needs root (mount namespace, chroot)"
  [ -x "$root/usr/bin/env" ] || fail "no i386 userland in $root: run 'sh scripts/wine32.sh --setup'"
  [ -f /proc/sys/fs/binfmt_misc/qemu-i386 ] || fail "qemu-i386 is not registered: run 'sh scripts/wine32.sh --setup'"
  exec unshare --mount --propagation private sh "$self" --mounted "$@"
}

mounted() {
  mount -t proc proc "$root/proc"
  mount --rbind /sys "$root/sys"
  mount --rbind /dev "$root/dev"
  # The X display of the window and end-to-end tests, and the work tree at its own path so
  # that the paths CMake hands out name the same files inside.
  for dir in /tmp/.X11-unix ${XAUTHORITY:+"$(dirname "$XAUTHORITY")"} "$tree" ${LR_WINE32_BINDS:-}; do
    [ -d "$dir" ] || continue
    mkdir -p "$root$dir"
    mount --bind "$dir" "$root$dir"
  done
  # Quiet, and without the Mono and Gecko installers, unless told otherwise (test discovery
  # runs with ctest's own environment).
  export WINEDEBUG="${WINEDEBUG--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES-mscoree,mshtml=}"
  exec chroot "$root" /usr/bin/env PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

# ---- set-up ----------------------------------------------------------------------------------

step() {
  what=$1
  shift
  log=$home/setup.log
  echo "wine32 set-up: $what"
  "$@" >>"$log" 2>&1 || { tail -n 20 "$log" >&2; fail "set-up failed: $what (log: $log)"; }
}

# The Debian mirror of this machine's own apt sources (the one serving bookworm).
mirror() {
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '
      /^URIs:/ { uri = $2 }
      /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == "bookworm") ok = 1 }
      /^[ \t]*$/ { if (ok && uri != "") { print uri; exit } uri = ""; ok = 0 }
      END { if (ok && uri != "") print uri }' "$f"
  done | head -n 1
}

# Mounts below a folder in this namespace: none may be there before it is removed (a removal
# would go on into them: the machine's /dev and /sys).
no_mounts_below() {
  ! awk -v d="$1" '$5 == d || index($5, d "/") == 1 { found = 1 } END { exit !found }' /proc/self/mountinfo
}

fetch_qemu() {
  apt=$home/apt
  rm -rf "$apt"
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/deb" "$apt/sources.list.d"
  echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $1 bookworm-backports main" >"$apt/sources.list"
  set -- -o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts="$apt/sources.list.d" \
    -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -o APT::Architecture=amd64
  apt-get "$@" update
  (cd "$apt/deb" && apt-get "$@" download qemu-user)
  rm -rf "$home/qemu.new"
  dpkg-deb -x "$apt/deb"/qemu-user_*.deb "$home/qemu.new"
  "$home/qemu.new/usr/bin/qemu-i386" --version
  rm -rf "$home/qemu"
  mv "$home/qemu.new" "$home/qemu"
}

# Registers qemu-i386 for i386 ELF programs, with the flags Debian's binfmt.d file gives it
# (POF: F opens the interpreter now, so it need not exist inside the chroot). Kernel-wide,
# gone at reboot; 64-bit programs are not touched.
register_qemu() {
  conf=$(cat "$home/qemu/usr/share/qemu/binfmt.d/qemu-i386.conf" 2>/dev/null ||
         cat "$home/qemu/usr/lib/binfmt.d/qemu-i386.conf")
  # :name:type:offset:magic:mask:interpreter:flags
  line=$(printf '%s\n' "$conf" | grep '^:qemu-i386:' |
         awk -F: -v q="$qemu" 'BEGIN { OFS = ":" } { $7 = q; $8 = "POF"; print }')
  [ -n "$line" ] || return 1
  entry=/proc/sys/fs/binfmt_misc/qemu-i386
  if [ -f "$entry" ]; then
    if grep -q "^interpreter $qemu\$" "$entry" && grep -q '^enabled' "$entry"; then return 0; fi
    echo -1 >"$entry"  # another qemu (Debian 12's own is far too slow for Wine)
  fi
  printf '%s\n' "$line" >/proc/sys/fs/binfmt_misc/register
}

bootstrap() {
  partial=$root.partial
  no_mounts_below "$partial" || fail "mounts below $partial: not removing it"
  rm -rf "$partial"
  # debootstrap mounts /proc and /sys in the target: in a namespace of its own they cannot stay.
  unshare --mount --propagation private debootstrap --arch=i386 --variant=minbase bookworm "$partial" "$1"
  mv "$partial" "$root"
}

setup() {
  [ "$(id -u)" -eq 0 ] || fail "the set-up needs root"
  mkdir -p "$home"
  # One set-up at a time (several work trees may share this machine).
  exec 9>"$home/setup.lock"
  flock 9
  : >"$home/setup.log"
  url=$(mirror)
  [ -n "$url" ] || fail "set-up failed: no Debian mirror for bookworm in /etc/apt/sources.list.d/*.sources"
  if [ ! -d /proc/sys/fs/binfmt_misc ] || [ ! -f /proc/sys/fs/binfmt_misc/register ]; then
    step "mounting binfmt_misc" mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  fi
  [ -x "$qemu" ] || step "fetching qemu-user from bookworm-backports" fetch_qemu "$url"
  step "registering qemu-i386 with binfmt_misc" register_qemu
  if [ ! -x "$root/usr/bin/env" ]; then
    no_mounts_below "$root" || fail "mounts below $root: not removing it"
    rm -rf "$root"
    step "making the i386 userland (debootstrap, about 2 min)" bootstrap "$url"
  fi
  if [ ! -x "$root/usr/lib/wine/wine" ] || [ ! -x "$root/usr/sbin/locale-gen" ]; then
    step "installing Wine in the chroot (about 2 min)" sh "$self" --exec sh -c \
      'apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends wine wine32 libwine fonts-wine locales && apt-get clean'
  fi
  # Wine takes the user's language from LANG: the tests' locales must exist in the chroot.
  if [ ! -f "$root/var/lib/lumorarepair-locales" ]; then
    printf 'en_US.UTF-8 UTF-8\nde_DE.UTF-8 UTF-8\n' >"$root/etc/locale.gen"
    step "making the en_US and de_DE locales in the chroot" sh "$self" --exec locale-gen
    : >"$root/var/lib/lumorarepair-locales"
  fi
  # The prefix the test discovery runs in (each test run makes its own beside it).
  if [ ! -f "$root/root/.wine/system.reg" ]; then
    step "booting the default 32-bit prefix" sh "$self" --exec env WINEARCH=win32 WINEDEBUG=-all \
      WINEDLLOVERRIDES="mscoree,mshtml=" sh -c 'wineboot -i </dev/null && wineserver -w'
  fi
  step "checking the 32-bit Wine" sh "$self" --exec env WINEDEBUG=-all sh -c 'wine cmd /c exit 0 </dev/null'
  echo "wine32 set-up: ready ($root)"
}

case ${1:-} in
  --setup) setup ;;
  --exec) shift; in_chroot "$@" ;;
  --mounted) shift; mounted "$@" ;;
  --root) echo "$root" ;;
  "") fail "usage: wine32.sh --setup | --exec CMD ARG... | PROGRAM ARG..." ;;
  *) in_chroot wine "$@" ;;
esac
