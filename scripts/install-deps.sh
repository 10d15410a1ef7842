#!/usr/bin/env bash
# Installs what building and testing Mivo needs on Debian 12: the MinGW-w64 cross
# toolchains (32-bit, what ships, and 64-bit), Wine (32-bit Wine also where the host runs no
# 32-bit process: its stdole2.tlb describes the shipped plug-in's type library), Xvfb,
# GoogleTest sources and the testbed's tools (openssl makes the test certificates).
# Safe to run again: it only installs what is missing.
#
# An archive caught mid-sync is got through rather than given up on: a failing package list
# is fetched again and then left out; an install that breaks on 64-bit and 32-bit packages of
# two versions is tried again preferring the release over its updates, for that command only.
# Where 32-bit Wine still cannot be had, everything else is installed and the reason is kept
# (scripts/arch.sh reads it): the work goes on with the 64-bit build.
# Its own remarks are the lines that start with "install-deps: " (the scripts show them).
#   MIVO_APT_RETRY_SECONDS  pause between two tries of apt-get update (default 5)
#   MIVO_OS_RELEASE         the file naming the release (default /etc/os-release)
set -euo pipefail
. "$(dirname "$0")/arch.sh"

packages=(cmake make python3 googletest mingw-w64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
          wine wine32 wine64 libwine-dev fonts-wine fonts-liberation xvfb xauth x11-utils x11-apps xdotool
          gcab nsis openssl)
wine32=wine32:i386
note_file=$(mivo_wine32_note_file)

note() { echo "install-deps: $*"; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  if [ "$p" = wine32 ]; then p=$wine32; fi
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
wants_wine32=no
for p in "${missing[@]}"; do [ "$p" = "$wine32" ] && wants_wine32=yes; done
[ $wants_wine32 = yes ] || rm -f "$note_file"
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
fi

out=$(mktemp)
trap 'rm -f "$out"' EXIT

# apt-get update exits non-zero when any one list failed, though it keeps the others.
for try in 1 2 3; do
  as_root apt-get update -qq >"$out" 2>&1 && break
  if [ $try -eq 3 ]; then
    failed=$(sed -n 's/^[EW]: Failed to fetch \([^ ]*\).*/\1/p' "$out" | paste -sd ' ' -)
    note "apt-get update failed 3 times, going on with the package lists apt has (not fetched: ${failed:-$(grep -m1 '^E: ' "$out" || echo 'see apt')})"
  else
    sleep "${MIVO_APT_RETRY_SECONDS:-5}"
  fi
done

apt_install() {  # apt-get install's options and packages; its output goes to $out
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" >"$out" 2>&1
}
# What apt said last: its error lines, for a failure shown to the user.
apt_errors() { grep -E '^E: |: (Pre)?Depends: ' "$out" || tail -n 5 "$out"; }

apt_install "${missing[@]}" && exit 0
codename=$(. "${MIVO_OS_RELEASE:-/etc/os-release}" && echo "${VERSION_CODENAME:-}")
if [ -n "$codename" ]; then
  note "installing failed ($(grep -m1 '^E: ' "$out" || echo 'see apt')); trying again with the packages of $codename itself"
  apt_install -t "$codename" "${missing[@]}" && exit 0
fi

# Without 32-bit Wine, the rest still serves the 64-bit build.
if [ $wants_wine32 = no ]; then
  apt_errors >&2
  exit 1
fi
why=$(apt_errors | grep -m1 -E "^ *$wine32 : |: (Pre)?Depends: " || grep -m1 '^E: ' "$out" || echo 'no reason given')
why=$(echo "$why" | sed 's/^ *//')
rest=()
for p in "${missing[@]}"; do [ "$p" = "$wine32" ] || rest+=("$p"); done
if [ ${#rest[@]} -gt 0 ] && ! apt_install "${rest[@]}" &&
   { [ -z "$codename" ] || ! apt_install -t "$codename" "${rest[@]}"; }; then
  apt_errors >&2
  exit 1
fi
mkdir -p "$(dirname "$note_file")"
echo "apt could not install $wine32: $why" >"$note_file"
note "32-bit Wine cannot be installed (apt: $why); everything else is, and the work goes on with the 64-bit build"
