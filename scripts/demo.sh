#!/usr/bin/env bash
# Builds Mivo against a local demo content server with the sample catalogue and starts it
# under Wine, in a prefix with the content installer stand-in registered. Without a
# display it runs inside Xvfb, clicks a category and saves a screenshot (path printed).
#   MIVO_DEMO_PORT   port of the demo server (default 18080)
#   MIVO_DEMO_SECONDS  how long a headless demo runs before its screenshot (default 20)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MIVO_DEMO_BUILD_DIR:-$root/build/demo}
port=${MIVO_DEMO_PORT:-18080}
shot=${MIVO_DEMO_SCREENSHOT:-$build/mivo-demo.png}

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMIVO_BUILD_TESTS=ON \
  -DMIVO_CONTENT_BASE_URL="http://127.0.0.1:$port" \
  -DMIVO_HOME_PAGE_URL="http://localhost:$port" >/dev/null
cmake --build "$build" -j2 --target Mivo testbed_content_installer

# The program's folder, as the setup lays it out: the program and its cache folder.
app="$build/demo-install"
mkdir -p "$app/temppics"
cp "$build/app/Mivo.exe" "$app/Mivo.exe"

# The demo content server, stopped when the demo ends.
"$build/testing/content-server.sh" start
trap '"$build/testing/content-server.sh" stop' EXIT

installer_dll=$(find "$build/testbed" -name 'testbed_content_installer.dll' | head -n 1)

run_demo() {
  "$build/testing/setup-prefix.sh" "$installer_dll" >/dev/null
  . "$build/testing/wine-env.sh"
  if [ "${1:-}" = headless ]; then
    wine "$app/Mivo.exe" >/dev/null 2>&1 &
    local pid=$!
    # Wait for the window, then pick the first display picture category.
    local win="" i=0
    while [ -z "$win" ] && [ $i -lt 60 ]; do
      sleep 0.5; i=$((i + 1))
      win=$(xdotool search --name 'Mivo - Holmfeld MSN Installer' 2>/dev/null | head -n 1 || true)
    done
    if [ -n "$win" ]; then
      eval "$(xdotool getwindowgeometry --shell "$win")"
      # First entry of the category list: tab (8,8) + frame (8,32) + list (8,16) + a few pixels.
      xdotool mousemove --sync $((X + 32)) $((Y + 62)) click 1 || true
      sleep "${MIVO_DEMO_SECONDS:-20}"
      # Select the first thumbnail cell.
      xdotool mousemove --sync $((X + 16 + 120 + 40)) $((Y + 56 + 40)) click 1 || true
      sleep 2
    fi
    xwd -root -silent > "$build/mivo-demo.xwd"
    python3 "$root/scripts/xwd2png.py" "$build/mivo-demo.xwd" "$shot"
    kill $pid 2>/dev/null || true
    wineserver -k || true
    echo "Screenshot: $shot"
  else
    echo "Mivo is running against http://127.0.0.1:$port (close its window to end the demo)."
    wine "$app/Mivo.exe"
  fi
}

if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != --headless ]; then
  run_demo
else
  export -f run_demo
  export root build port shot app installer_dll
  xvfb-run -a -s "-screen 0 800x600x24" bash -c 'run_demo headless'
fi
