#!/usr/bin/env bash
# Builds Mivo against a local demo content server with the sample catalogue and starts it
# under Wine, in a prefix with the content installer stand-in registered. Without a
# display it runs inside Xvfb, clicks a category and saves a screenshot (path printed).
#   bash scripts/demo.sh --screenshots DIR   always headless: saves the window of each tab as
#                                            DIR/mivo-display-pictures.png and DIR/mivo-emoticons.png
#   MIVO_DEMO_PORT   port of the demo server (default 18080)
#   MIVO_DEMO_SECONDS  how long a headless demo waits for thumbnails before each screenshot (default 15)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MIVO_DEMO_BUILD_DIR:-$root/build/demo}
port=${MIVO_DEMO_PORT:-18080}
shot=${MIVO_DEMO_SCREENSHOT:-$build/mivo-demo.png}
shot_emo=${shot%.png}-emoticons.png
if [ "${1:-}" = --screenshots ]; then
  mkdir -p "${2:?--screenshots needs a folder}"
  dir=$(cd "$2" && pwd)
  export MIVO_DEMO_SCREENSHOT=$dir/mivo-display-pictures.png MIVO_DEMO_SCREENSHOT_EMO=$dir/mivo-emoticons.png
  shot=$MIVO_DEMO_SCREENSHOT
  set -- --xvfb
fi
shot_emo=${MIVO_DEMO_SCREENSHOT_EMO:-$shot_emo}

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMIVO_BUILD_TESTS=ON \
  -DMIVO_CONTENT_BASE_URL="http://127.0.0.1:$port" \
  -DMIVO_HOME_PAGE_URL="http://localhost:$port" >/dev/null
cmake --build "$build" -j2 --target Mivo testbed_content_installer MivoSetup

# The demo content server, stopped when the demo ends.
"$build/testing/content-server.sh" start
trap '"$build/testing/content-server.sh" stop' EXIT

installer_dll=$(find "$build/testbed" -name 'testbed_content_installer.dll' | head -n 1)

run_demo() {
  "$build/testing/setup-prefix.sh" "$installer_dll" >/dev/null
  . "$build/testing/wine-env.sh"
  # Installed by the setup, as a user gets it: C:\Mivo\mivo.exe with its cache folder,
  # the install path in the registry and the plug-in registered.
  wine "$build/setup/MivoSetup.exe" /S /D=C:\\Mivo >/dev/null 2>&1
  local app
  app=$(winepath -u 'C:\Mivo')
  test -f "$app/mivo.exe" || { echo "the setup did not install Mivo"; return 1; }
  if [ "${1:-}" = headless ]; then
    wine "$app/mivo.exe" >/dev/null 2>&1 &
    local pid=$!
    # Wait for the window, then pick the first display picture category.
    local win="" i=0
    while [ -z "$win" ] && [ $i -lt 60 ]; do
      sleep 0.5; i=$((i + 1))
      win=$(xdotool search --name 'Mivo - Holmfeld MSN Installer' 2>/dev/null | head -n 1 || true)
    done
    if [ -n "$win" ]; then
      eval "$(xdotool getwindowgeometry --shell "$win")"
      # The client area starts below the caption and the menu bar.
      local cx=$((X + 3)) cy=$((Y + 42))
      click() { xdotool mousemove --sync $((cx + $1)) $((cy + $2)) click 1 || true; }
      click 28 62                        # first display picture category
      sleep "${MIVO_DEMO_SECONDS:-15}"   # captions at once, thumbnails one by one
      click 194 101                      # select the first picture
      sleep 2
      xwd -id "$win" -silent > "$build/mivo-demo.xwd"
      python3 "$root/scripts/xwd2png.py" "$build/mivo-demo.xwd" "$shot"
      click 136 18                       # the "Emoticons" tab
      click 28 62                        # first emoticon category
      sleep "${MIVO_DEMO_SECONDS:-15}"
      click 194 83                       # select the first emoticon
      sleep 2
      xwd -id "$win" -silent > "$build/mivo-demo.xwd"
      python3 "$root/scripts/xwd2png.py" "$build/mivo-demo.xwd" "$shot_emo"
      echo "Screenshot: $shot_emo"
    else
      xwd -root -silent > "$build/mivo-demo.xwd"
      python3 "$root/scripts/xwd2png.py" "$build/mivo-demo.xwd" "$shot"
    fi
    kill $pid 2>/dev/null || true
    wineserver -k || true
    echo "Screenshot: $shot"
  else
    echo "Mivo is running against http://127.0.0.1:$port (close its window to end the demo)."
    wine "$app/mivo.exe"
  fi
}

if [ "${1:-}" = --headless ]; then
  run_demo headless
elif [ -n "${DISPLAY:-}" ] && [ "${1:-}" != --xvfb ]; then
  run_demo
else
  # No display: run the whole demo again inside Xvfb (the build is already up to date).
  trap - EXIT
  "$build/testing/content-server.sh" stop
  exec xvfb-run -a -s "-screen 0 800x600x24" bash "$0" --headless
fi
