#!/usr/bin/env bash
# Builds Mivo, its tests and the testbed against a loopback content server, and runs the
# whole suite under Wine inside Xvfb. Extra arguments go to ctest (e.g. -R plugin).
#   32-bit suite (build/test): what ships; its Wine entries run where the host starts 32-bit
#     processes and are skipped, with the reason, where it does not. Its shipped files are
#     checked without running them on every host.
#   64-bit suite (build/test64): the same sources for x86-64 under Wine's 64-bit loader.
#   MIVO_TEST_ARCH=32|64 runs one suite only.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MIVO_BUILD_DIR:-$root/build/test}
port=${MIVO_TEST_PORT:-18480}
tls_port=${MIVO_TEST_TLS_PORT:-$((port + 2))}
logs=$build-logs
. "$root/scripts/arch.sh"
. "$root/scripts/steps.sh"
mivo_choose_arches || exit 2

mivo_install_deps "$logs/install-deps.log"
mivo_choose_arches
echo "Test suites: $MIVO_ARCHES_WHY"
runs32=yes
mivo_runs32 >/dev/null || runs32=no

werror=OFF
[ "${CI:-}" = true ] && werror=ON
status=0
skipped=()
for arch in $MIVO_ARCHES; do
  dir=$build targets=()
  if [ "$arch" = 64 ]; then
    dir=${build}64
  elif [ $runs32 = no ]; then
    # Nothing of it runs here: build only what ships, for the check of its files.
    targets=(--target mivo_shipped)
  fi
  echo "== $arch-bit suite: $dir"
  # Release: optimised, and without debug information the two builds take a
  # third less time.
  mivo_step "configuring the $arch-bit build" "$logs/configure$arch.log" \
    cmake -S "$root" -B "$dir" \
    -DCMAKE_TOOLCHAIN_FILE="$(mivo_toolchain "$arch")" \
    -DCMAKE_BUILD_TYPE=Release \
    -DMIVO_BUILD_TESTS=ON -DMIVO_WERROR=$werror \
    -DMIVO_CONTENT_BASE_URL="http://127.0.0.1:$port" -DMIVO_TEST_TLS_PORT="$tls_port" \
    -DMIVO_HOME_PAGE_URL="http://localhost:$port"
  mivo_step "building the $arch-bit suite" "$logs/build$arch.log" cmake --build "$dir" -j2 "${targets[@]}"

  (cd "$dir" && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure "$@") 2>&1 |
    tee "$logs/ctest$arch.log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || { status=1; echo "test.sh: the $arch-bit suite failed (log: $logs/ctest$arch.log)"; }
  # CTest lists the entries that did not run: "  12 - app_tests (Skipped)".
  while read -r name; do skipped+=("$name"); done < <(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "$logs/ctest$arch.log")
done

if [ ${#skipped[@]} -eq 0 ]; then
  echo "Skipped: none"
else
  why=$(mivo_runs32 || true)
  echo "Skipped: ${skipped[*]} (${why:-see their output})"
fi
exit $status
