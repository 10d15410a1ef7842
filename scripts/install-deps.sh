#!/usr/bin/env bash
# Installs what building and testing Mivo needs on Debian 12: the MinGW-w64 cross
# toolchains (32-bit, what ships, and 64-bit), Wine (32-bit Wine also where the host runs no
# 32-bit process: its stdole2.tlb describes the shipped plug-in's type library), Xvfb,
# GoogleTest sources and the testbed's tools (openssl makes the test certificates).
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(cmake make python3 googletest mingw-w64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
          wine wine32 wine64 libwine-dev fonts-wine fonts-liberation xvfb xauth x11-utils x11-apps xdotool
          gcab nsis openssl)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  if [ "$p" = wine32 ]; then p=wine32:i386; fi
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
fi
as_root apt-get update -qq
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
