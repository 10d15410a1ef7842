#!/usr/bin/env bash
# Builds Mivo against a local demo content server with the sample catalogue and starts it
# under Wine, in a prefix with the content installer stand-in registered. Without a
# display it runs inside Xvfb, clicks a category and saves a screenshot (path printed).
#   bash scripts/demo.sh --screenshots DIR   always headless: saves the window of each tab as
#                                            DIR/mivo-display-pictures.png and DIR/mivo-emoticons.png
#   MIVO_DEMO_PORT   port of the demo server (default 18080)
#   MIVO_DEMO_SECONDS  how long a headless demo waits for thumbnails before each screenshot (default 15)
#   MIVO_TEST_ARCH   32 or 64: the build to run (default: 32 where the host runs 32-bit
#                    processes, else 64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/arch.sh"
. "$root/scripts/steps.sh"
mivo_choose_run_arch
build=${MIVO_DEMO_BUILD_DIR:-$root/build/demo}
# Once per demo: not again inside Xvfb.
[ -n "${MIVO_DEMO_DEPS_DONE:-}" ] || mivo_install_deps "$build/logs/install-deps.log"
export MIVO_DEMO_DEPS_DONE=1
mivo_choose_run_arch
[ "$MIVO_ARCH" = 64 ] && build=${build}64
logs=$build/logs
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

mivo_step "configuring the $MIVO_ARCH-bit build" "$logs/configure.log" \
  cmake -S "$root" -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$MIVO_TOOLCHAIN" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMIVO_BUILD_TESTS=ON \
  -DMIVO_CONTENT_BASE_URL="http://127.0.0.1:$port" \
  -DMIVO_HOME_PAGE_URL="http://localhost:$port"
mivo_step "building the $MIVO_ARCH-bit program" "$logs/build.log" \
  cmake --build "$build" -j2 --target Mivo testbed_content_installer MivoSetup

# The demo content server, stopped when the demo ends.
mivo_step "starting the content server" "$logs/content-server.log" "$build/testing/content-server.sh" start
trap '"$build/testing/content-server.sh" stop' EXIT

installer_dll=$(find "$build/testbed" -name 'testbed_content_installer.dll' | head -n 1)

screenshot() {  # xwd's window option ("-root" or "-id N"), PNG file
  # shellcheck disable=SC2086
  if ! xwd $1 -silent > "$build/mivo-demo.xwd" 2>"$logs/screenshot.log" ||
     ! python3 "$root/scripts/xwd2png.py" "$build/mivo-demo.xwd" "$2" 2>>"$logs/screenshot.log"; then
    echo "demo.sh: the screenshot $2 could not be saved (log: $logs/screenshot.log)" >&2
    return 1
  fi
}

run_demo() {
  mivo_step "preparing the Wine prefix" "$logs/setup-prefix.log" "$build/testing/setup-prefix.sh" "$installer_dll"
  . "$build/testing/wine-env.sh"
  # Wine draws the caption buttons with glyphs of the Marlett font, and Debian's Wine never
  # looks in the folder of its own fonts (fonts-wine, /usr/share/wine/fonts): without the
  # font the buttons show the letters "0 1 r". Only the demo's prefix gets it; the tests keep
  # their look.
  local marlett=/usr/share/wine/fonts/marlett.ttf
  if [ -f "$marlett" ]; then
    cp -f "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
  else
    echo "demo.sh: $marlett is missing (package fonts-wine): the caption buttons show letters" >&2
  fi
  # Installed by the setup, as a user gets it: C:\Mivo\mivo.exe with its cache folder,
  # the install path in the registry and the plug-in registered.
  mivo_step "installing Mivo with MivoSetup.exe" "$logs/setup.log" \
    "$MIVO_WINE" "$build/setup/MivoSetup.exe" /S /D=C:\\Mivo
  local app
  app=$("$MIVO_WINE" winepath -u 'C:\Mivo' 2>/dev/null)
  test -f "$app/mivo.exe" || { echo "demo.sh: the setup did not install Mivo into $app (log: $logs/setup.log)" >&2; return 1; }
  if [ "${1:-}" = headless ]; then
    "$MIVO_WINE" "$app/mivo.exe" >"$logs/mivo.log" 2>&1 &
    local pid=$!
    # Wait for the window, then pick the first display picture category.
    local win="" i=0
    while [ -z "$win" ] && [ $i -lt 60 ]; do
      sleep 0.5; i=$((i + 1))
      win=$(xdotool search --name 'Mivo - Holmfeld MSN Installer' 2>/dev/null | head -n 1 || true)
    done
    if [ -z "$win" ]; then
      screenshot -root "$shot" || true
      echo "demo.sh: the Mivo window did not appear within 30 s; the screen is in $shot (log: $logs/mivo.log)" >&2
      kill $pid 2>/dev/null || true
      wineserver -k || true
      return 1
    fi
    eval "$(xdotool getwindowgeometry --shell "$win")"
    # The client area starts below the caption and the menu bar.
    local cx=$((X + 3)) cy=$((Y + 42))
    click() { xdotool mousemove --sync $((cx + $1)) $((cy + $2)) click 1 || true; }
    click 28 62                        # first display picture category
    sleep "${MIVO_DEMO_SECONDS:-15}"   # captions at once, thumbnails one by one
    click 194 101                      # select the first picture
    sleep 2
    screenshot "-id $win" "$shot" || return 1
    click 136 18                       # the "Emoticons" tab
    click 28 62                        # first emoticon category
    sleep "${MIVO_DEMO_SECONDS:-15}"
    click 194 83                       # select the first emoticon
    sleep 2
    screenshot "-id $win" "$shot_emo" || return 1
    kill $pid 2>/dev/null || true
    wineserver -k || true
    local f
    for f in "$shot" "$shot_emo"; do
      test -s "$f" || { echo "demo.sh: no screenshot was saved as $f" >&2; return 1; }
      echo "Screenshot: $f"
    done
  else
    echo "Mivo is running against http://127.0.0.1:$port (close its window to end the demo)."
    "$MIVO_WINE" "$app/mivo.exe"
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
