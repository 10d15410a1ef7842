#!/usr/bin/env bash
# Which Windows architectures this host can test, decided in this one place.
#   bash scripts/arch.sh --runs32   exit 0 when this host can start a 32-bit (i386) process;
#                                   otherwise print why and exit 1
#   . scripts/arch.sh; mivo_choose_arches
#                                   sets MIVO_ARCHES ("32 64" or "64", or what MIVO_TEST_ARCH
#                                   names) and MIVO_ARCHES_WHY (one line, for the log)
#   . scripts/arch.sh; mivo_choose_run_arch
#                                   sets MIVO_ARCH, the one build a demo or bench runs: 32
#                                   where the host runs it, else 64 (MIVO_TEST_ARCH overrides),
#                                   and MIVO_TOOLCHAIN, its toolchain file (mivo_toolchain 32|64)
# 32-bit Wine needs a kernel that runs 32-bit user code: virtual machines and sandboxes often
# switch that off, and then the 64-bit build is tested under Wine's 64-bit loader instead. The
# same holds where 32-bit Wine itself could not be installed (scripts/install-deps.sh keeps
# apt's reason).
#   MIVO_WINE32_LOADER  the 32-bit Wine loader looked for (default /usr/lib/wine/wine)
#   MIVO_STATE_DIR      where install-deps.sh keeps that reason (default the build folder)

# The file with the reason why 32-bit Wine could not be installed, while it could not.
mivo_wine32_note_file() {
  echo "${MIVO_STATE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}/wine32-unavailable"
}

mivo_runs32() {
  # A 96-byte static i386 program that exits with status 32. It is written into the
  # project's build folder, since /tmp may forbid execution.
  local dir out status
  dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build"
  mkdir -p "$dir" || return 1
  local probe="$dir/.runs32-probe"
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xbb\x20\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' \
    > "$probe.$$" && chmod +x "$probe.$$" || return 1
  out=$("$probe.$$" 2>&1)
  status=$?
  rm -f "$probe.$$"
  if [ $status -ne 32 ]; then
    out=${out##*: }
    echo "this host runs no 32-bit process (an i386 program does not start: ${out:-exit status $status})"
    return 1
  fi
  if [ ! -x "${MIVO_WINE32_LOADER:-/usr/lib/wine/wine}" ]; then
    local note
    note=$(cat "$(mivo_wine32_note_file)" 2>/dev/null) || note="it is not installed"
    echo "this host has no 32-bit Wine ($note)"
    return 1
  fi
}

mivo_choose_arches() {
  local why32
  case "${MIVO_TEST_ARCH:-}" in
    64) MIVO_ARCHES=64 MIVO_ARCHES_WHY="64-bit only (MIVO_TEST_ARCH=64)" ;;
    32)
      MIVO_ARCHES=32 MIVO_ARCHES_WHY="32-bit only (MIVO_TEST_ARCH=32)"
      if ! why32=$(mivo_runs32); then
        MIVO_ARCHES_WHY="$MIVO_ARCHES_WHY; $why32, so its Wine entries are skipped"
      fi ;;
    "")
      MIVO_ARCHES="32 64"
      if why32=$(mivo_runs32); then
        MIVO_ARCHES_WHY="32-bit and 64-bit (this host runs 32-bit processes)"
      else
        MIVO_ARCHES_WHY="64-bit, and of the 32-bit build only what ships, checked without running it ($why32)"
      fi ;;
    *) echo "MIVO_TEST_ARCH must be 32 or 64, not '$MIVO_TEST_ARCH'" >&2; return 2 ;;
  esac
}

mivo_choose_run_arch() {
  case "${MIVO_TEST_ARCH:-}" in
    32|64) MIVO_ARCH=$MIVO_TEST_ARCH ;;
    "") if mivo_runs32 >/dev/null; then MIVO_ARCH=32; else MIVO_ARCH=64; fi ;;
    *) echo "MIVO_TEST_ARCH must be 32 or 64, not '$MIVO_TEST_ARCH'" >&2; return 2 ;;
  esac
  MIVO_TOOLCHAIN=$(mivo_toolchain "$MIVO_ARCH")
}

# The toolchain file of a build: mivo_toolchain 32|64.
mivo_toolchain() {
  local cmake_dir
  cmake_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/cmake"
  if [ "$1" = 64 ]; then echo "$cmake_dir/mingw-x86_64.cmake"; else echo "$cmake_dir/mingw-i686.cmake"; fi
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  case "${1:-}" in
    --runs32) mivo_runs32 ;;
    *) echo "usage: $0 --runs32" >&2; exit 2 ;;
  esac
fi
