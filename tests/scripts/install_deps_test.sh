#!/usr/bin/env bash
# scripts/install-deps.sh against stand-ins for apt-get, dpkg, dpkg-query and sudo that replay
# an archive caught mid-sync: no network, nothing installed for real.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0

mkdir -p "$work/bin"
# State: $STATE/installed (one package a line), $STATE/calls (each call, as run),
# $STATE/update-failures (how many apt-get updates are still to fail; "always"), and the
# archive's faults: $STATE/plain-breaks (an install without -t breaks), $STATE/no-wine32.
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/sh
pkg=$(eval echo \${$#})
grep -qx "$pkg" "$STATE/installed" && printf 'install ok installed'
exit 0
EOF
cat >"$work/bin/dpkg" <<'EOF'
#!/bin/sh
echo "dpkg $*" >>"$STATE/calls"
case $1 in
  --print-foreign-architectures) [ -f "$STATE/i386" ] && echo i386 ;;
  --add-architecture) touch "$STATE/i386" ;;
esac
exit 0
EOF
cat >"$work/bin/sudo" <<'EOF'
#!/bin/sh
exec "$@"
EOF
cat >"$work/bin/apt-get" <<'EOF'
#!/bin/sh
echo "apt-get $* ${APT_CONFIG:+APT_CONFIG=$APT_CONFIG}" >>"$STATE/calls"
if [ "$1" = update ]; then
  left=$(cat "$STATE/update-failures" 2>/dev/null || echo 0)
  [ "$left" = 0 ] && exit 0
  [ "$left" = always ] || echo $((left - 1)) >"$STATE/update-failures"
  echo "E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
  echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
  exit 100
fi
shift
release=""
pkgs=""
while [ $# -gt 0 ]; do
  case $1 in
    -t) release=$2; shift ;;
    -*) ;;
    *) pkgs="$pkgs $1" ;;
  esac
  shift
done
broken() {
  echo "The following packages have unmet dependencies:"
  echo " $1 : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed"
  echo "E: Unable to correct problems, you have held broken packages." >&2
  exit 100
}
for p in $pkgs; do
  [ "$p" = wine32:i386 ] && [ -f "$STATE/no-wine32" ] && broken "$p"
  [ "$p" = wine32:i386 ] && [ -f "$STATE/plain-breaks" ] && [ -z "$release" ] && broken "$p"
  grep -qx "$p" "$STATE/unknown" 2>/dev/null && { echo "E: Unable to locate package $p" >&2; exit 100; }
done
for p in $pkgs; do echo "$p" >>"$STATE/installed"; done
exit 0
EOF
chmod +x "$work/bin"/*
echo 'VERSION_CODENAME=bookworm' >"$work/os-release"

# scenario NAME: a fresh state with everything but what the script is to install.
scenario() {
  name=$1
  export STATE=$work/$name
  mkdir -p "$STATE"
  : >"$STATE/calls"
  printf '%s\n' cmake make python3 googletest mingw-w64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 \
    mingw-w64-tools wine64 libwine-dev fonts-wine fonts-liberation xvfb xauth x11-utils x11-apps \
    xdotool gcab openssl >"$STATE/installed"
}
run() {
  PATH="$work/bin:$PATH" MIVO_APT_RETRY_SECONDS=0 MIVO_OS_RELEASE="$work/os-release" \
    MIVO_STATE_DIR="$STATE" MIVO_WINE32_LOADER="$STATE/wine" \
    bash "$root/scripts/install-deps.sh" >"$STATE/out" 2>&1
  echo $? >"$STATE/status"
  # The stand-in "installs" the loader with its package.
  if grep -qx wine32:i386 "$STATE/installed"; then touch "$STATE/wine" && chmod +x "$STATE/wine"; fi
}
check() {  # description, then a command that must succeed
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED [$name] $what"
    sed 's/^/  out: /' "$STATE/out"
    sed 's/^/  call: /' "$STATE/calls"
  fi
}
status_is() { [ "$(cat "$STATE/status")" = "$1" ]; }
calls() { grep -c "^apt-get $1" "$STATE/calls"; }
said() { grep -q -- "$1" "$STATE/out"; }
installed() { for p; do grep -qx "$p" "$STATE/installed" || return 1; done; }
# No apt configuration handed over, and none left behind.
no_config() { ! grep -q -- ' -o \|APT_CONFIG=' "$STATE/calls" && [ -z "$(find /etc/apt -newer "$work/started" 2>/dev/null)" ]; }
touch "$work/started"

scenario update_fails_once
echo 1 >"$STATE/update-failures"
run
check "ends in success" status_is 0
check "updates twice, installs once" test "$(calls update)-$(calls install)" = 2-1
check "installs what was missing" installed wine32:i386 nsis
check "says nothing of a failure that went" bash -c "! grep -q '^install-deps: ' '$STATE/out'"
check "no apt configuration" no_config

scenario update_fails_for_good_and_install_breaks
echo always >"$STATE/update-failures"
touch "$STATE/plain-breaks"
run
check "ends in success" status_is 0
check "updates 3 times" test "$(calls update)" = 3
check "names the list not fetched, in one line" \
  test "$(grep -c '^install-deps: apt-get update failed 3 times.*binary-i386/Packages.xz' "$STATE/out")" = 1
check "tries again preferring the release" test "$(calls 'install -y -qq -t bookworm ')" = 1
check "installs everything" installed wine32:i386 nsis
check "leaves no note of a missing 32-bit Wine" test ! -e "$STATE/wine32-unavailable"
check "32-bit Wine found" env MIVO_STATE_DIR="$STATE" MIVO_WINE32_LOADER="$STATE/wine" bash "$root/scripts/arch.sh" --runs32
check "no apt configuration" no_config

scenario no_wine32
touch "$STATE/no-wine32"
run
check "ends in success" status_is 0
check "installs the rest" installed nsis
check "says why, in one line" \
  test "$(grep -c '^install-deps: 32-bit Wine cannot be installed (apt: wine32:i386 : Depends: libwine:i386' "$STATE/out")" = 1
check "the 32-bit suite is skipped, with apt's reason" bash -c \
  "MIVO_STATE_DIR='$STATE' MIVO_WINE32_LOADER='$STATE/wine' bash '$root/scripts/arch.sh' --runs32 | grep -q 'no 32-bit Wine (apt could not install wine32:i386: wine32:i386 : Depends'"
check "no apt configuration" no_config

scenario another_package_missing
echo nsis >"$STATE/unknown"
run
check "fails" bash -c "! grep -qx 0 '$STATE/status'"
check "with apt's own message" said 'E: Unable to locate package nsis'
check "does not blame 32-bit Wine" bash -c "! grep -q '32-bit Wine' '$STATE/out'"

echo "install-deps.sh: $passed passed, $failed failed"
[ $failed -eq 0 ]
