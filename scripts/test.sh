#!/usr/bin/env bash
# Builds Mivo, its tests and the testbed against a loopback content server, and runs the
# whole suite under Wine inside Xvfb. Extra arguments go to ctest (e.g. -R plugin).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MIVO_BUILD_DIR:-$root/build/test}
port=${MIVO_TEST_PORT:-18480}
tls_port=${MIVO_TEST_TLS_PORT:-$((port + 2))}

"$root/scripts/install-deps.sh"

werror=OFF
[ "${CI:-}" = true ] && werror=ON
cmake -S "$root" -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMIVO_BUILD_TESTS=ON -DMIVO_WERROR=$werror \
  -DMIVO_CONTENT_BASE_URL="http://127.0.0.1:$port" -DMIVO_TEST_TLS_PORT="$tls_port" \
  -DMIVO_HOME_PAGE_URL="http://localhost:$port" >/dev/null
cmake --build "$build" -j2

cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure "$@"
