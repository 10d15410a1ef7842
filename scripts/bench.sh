#!/usr/bin/env bash
# A measurement, not a test: builds the bench programs and the program into build/bench,
# starts the testbed content server on a port of its own, runs each program against its
# floor alternately and prints medians, spread and ratios. Never part of CI.
#   scripts/bench.sh [--base <git revision>]
# --base also builds that revision's program with its own side of the bench and runs it in
# the same alternation (before / after / floor). MIVO_BENCH_RUNS (default 7) sets the runs per row,
# MIVO_BENCH_PORT (default 18565; the next port is the control port) the server's port,
# MIVO_BENCH_SOAK (default 1000) the loads and repaints of the memory row (0 skips it).
# The 32-bit build runs where the host starts 32-bit processes, else the 64-bit one
# (MIVO_TEST_ARCH=32|64 chooses).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/arch.sh"
. "$root/scripts/steps.sh"
mivo_choose_run_arch
build=${MIVO_BENCH_BUILD_DIR:-$root/build/bench}
# Once per bench: not again inside Xvfb.
[ -n "${MIVO_BENCH_DEPS_DONE:-}" ] || mivo_install_deps "$build/logs/install-deps.log"
export MIVO_BENCH_DEPS_DONE=1
mivo_choose_run_arch
[ "$MIVO_ARCH" = 64 ] && build=${build}64
logs=$build/logs
port=${MIVO_BENCH_PORT:-18565}
runs=${MIVO_BENCH_RUNS:-7}
soak=${MIVO_BENCH_SOAK:-1000}
base=""
if [ "${1:-}" = --base ]; then base=${2:?--base needs a revision}; fi

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

configure() {  # source dir, build dir, with tests
  mivo_step "configuring $2" "$logs/configure-$(basename "$2").log" \
    cmake -S "$1" -B "$2" -DCMAKE_TOOLCHAIN_FILE="$MIVO_TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIVO_BUILD_BENCH=ON -DMIVO_BUILD_TESTS="$3" \
    -DMIVO_BUILD_SETUP=OFF -DMIVO_CONTENT_BASE_URL="http://127.0.0.1:$port" \
    -DMIVO_HOME_PAGE_URL="http://localhost:$port"
}

# The testing scripts (prefix, server) and the installer stand-in come with the test option.
configure "$root" "$build" ON
mivo_step "building the bench" "$logs/build.log" \
  cmake --build "$build" -j2 --target Mivo mivo_bench_app mivo_bench_floor testbed_content_installer
programs=("$build/bench/mivo_bench_app.exe")
if [ -n "$base" ]; then
  # The revision's sources with their own program side of the bench, which speaks that
  # revision's interfaces; this bench where the revision has none. Floors come from this build.
  src="$build/base-src"
  rm -rf "$src" && mkdir -p "$src"
  git -C "$root" archive "$base" | tar -x -C "$src"
  [ -d "$src/bench" ] || cp -r "$root/bench" "$src/bench"
  # A program side older than a mode this bench runs: this one, which speaks the same interfaces.
  grep -q '"cached-emo"' "$src/bench/AppBench.cpp" || cp "$root/bench/AppBench.cpp" "$root/bench/BenchClock.h" "$src/bench/"
  grep -q 'add_subdirectory(bench)' "$src/CMakeLists.txt" ||
    printf '\nif(MIVO_BUILD_BENCH)\n  add_subdirectory(bench)\nendif()\n' >> "$src/CMakeLists.txt"
  # A fresh build: files generated for another revision would otherwise shadow this one's.
  rm -rf "$build/base"
  configure "$src" "$build/base" OFF
  mivo_step "building the base revision $base" "$logs/build-base.log" \
    cmake --build "$build/base" -j2 --target Mivo mivo_bench_app
  programs=("$build/base/bench/mivo_bench_app.exe" "${programs[@]}")
fi
floor="$build/bench/mivo_bench_floor.exe"
# The emoticon rows run a copy of each program in a folder of its own: its cache folder then
# holds only the emoticons, and the display rows' folder only the display pictures.
emo_programs=()
for exe in "${programs[@]}"; do
  mkdir -p "$(dirname "$exe")/emoticons"
  cp "$exe" "$(dirname "$exe")/emoticons/"
  emo_programs+=("$(dirname "$exe")/emoticons/$(basename "$exe")")
done

mivo_step "preparing the Wine prefix" "$logs/setup-prefix.log" \
  "$build/testing/setup-prefix.sh" "$(find "$build/testbed/content_installer" -name '*.dll' | head -n1)"
mivo_step "starting the content server" "$logs/content-server.log" "$build/testing/content-server.sh" start
trap '"$build/testing/content-server.sh" stop' EXIT

# Category 1: 730 display pictures (the largest list); 2 and 3: eight each. Emoticon category
# 6: 1,192 emoticons (the largest list).
python3 - "$((port + 1))" <<'PY'
import json, sys, urllib.request
thumbs = ["thumbs/dp101.jpg", "thumbs/dp102.png", "thumbs/dp103.gif", "thumbs/dp104.jpg"]
emo_thumbs = ["thumbs/emo501.gif", "thumbs/emo502.png", "thumbs/emo503.gif", "thumbs/emo504.gif"]
def items(first, count, pictures=thumbs):
    return [{"id": i, "title": "Picture %d" % i, "thumb": pictures[i % len(pictures)]} for i in range(first, first + count)]
cat = {"display": {"categories": [
           {"id": 1, "name": "Large", "items": items(1, 730)},
           {"id": 2, "name": "Small", "items": items(1001, 8)},
           {"id": 3, "name": "Other", "items": items(2001, 8)}]},
       "emoticon": {"categories": [
           {"id": 5, "name": "Smileys", "items": [{"id": 501, "title": "Smile", "thumb": "thumbs/emo501.gif"}]},
           {"id": 6, "name": "Many", "items": items(3001, 1192, emo_thumbs)}]}}
req = urllib.request.Request("http://127.0.0.1:%s/catalogue" % sys.argv[1], data=json.dumps(cat).encode(),
                             headers={"Content-Length": str(len(json.dumps(cat).encode()))})
assert urllib.request.urlopen(req).read() == b"ok"
PY

. "$build/testing/wine-env.sh"
results="$build/results.txt"
: > "$results"
run() {  # row, column, program, args...
  local row=$1 col=$2 exe=$3; shift 3
  local out
  out=$(cd "$(dirname "$exe")" && "$MIVO_WINE" "$exe" "$@" 2>>"$logs/runs.log" | tr -d '\r' | tail -n1)
  echo "$row|$col|$out" >> "$results"
}
names=(after)
[ -n "$base" ] && names=(before after)
programs_run() {
  local i
  for i in "$@"; do
    # Start-up spreads most (process creation under Wine): three samples per run.
    for _ in 1 2 3; do run startup "${names[$i]}" "${programs[$i]}" startup; done
    run click "${names[$i]}" "${programs[$i]}" click
    run cached "${names[$i]}" "${programs[$i]}" cached
    run cachedemo "${names[$i]}" "${emo_programs[$i]}" cached-emo
    run select "${names[$i]}" "${programs[$i]}" select 1
    run select "${names[$i]}-8" "${programs[$i]}" select 2
    run cold "${names[$i]}" "${programs[$i]}" cold
  done
}
floor_run() {
  for _ in 1 2 3; do run startup floor "$floor" startup; done
  run click floor "$floor" click
  run cached floor "$floor" cached
  run cached inview "$floor" cached-inview
  run cachedemo floor "$floor" cached-emo
  run cachedemo inview "$floor" cached-emo-inview
  run cold floor "$floor" cold
}
for ((r = 1; r <= runs; r++)); do
  echo "run $r of $runs" >&2
  # Every other run in reverse order, so no program always comes first.
  if ((r % 2)); then
    programs_run "${!programs[@]}"
    floor_run
  else
    floor_run
    programs_run $(printf '%s\n' "${!programs[@]}" | tac)
  fi
done
if [ "$soak" -gt 0 ]; then
  for i in "${!programs[@]}"; do
    echo "soak: ${names[$i]}" >&2
    run soak "${names[$i]}" "${programs[$i]}" soak "$soak"
  done
fi

python3 - "$results" "$runs" "$soak" <<'PY'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    row, col, value = line.rstrip("\n").split("|", 2)
    rows.setdefault(row, {}).setdefault(col, []).append(value)
titles = [
    ("startup", "start-up to window with both lists (from process creation)", ["floor"]),
    ("click", "click on a 730-item category to captions painted", ["floor"]),
    ("cached", "thumbnail pass over 730 cached files", ["floor", "inview"]),
    ("cachedemo", "thumbnail pass over 1,192 cached emoticons", ["floor", "inview"]),
    ("select", "select in a cached 730-item grid, then load another category", ["-8"]),
    ("cold", "click to all 730 thumbnails drawn, nothing cached", ["floor"]),
]
def stat(values):
    v = [float(x) for x in values if x not in ("",)]
    if not v:
        return None
    return statistics.median(v), min(v), max(v)
print("runs per figure: %s (start-up: three samples per run); ms: median (min-max); ratio = median / floor median" % sys.argv[2])
print("floor of 'select': the same clicks in an 8-item category")
print("floor 'inview' of the passes: each file's presence checked, events after each item, the cells in view drawn")
for key, title, floorcols in titles:
    cols = rows.get(key, {})
    print("\n" + title)
    for name in ("before", "after"):
        if name not in cols:
            continue
        s = stat(cols[name])
        floors = [(col, stat(cols.get(name + col if col.startswith("-") else col, []))) for col in floorcols]
        if s is None or any(f is None for _, f in floors):
            print("  %-7s no figure (a run failed)" % name)
            continue
        line = "  %-7s %9.1f (%.1f-%.1f)" % (name, *s)
        for col, f in floors:
            label = "floor" if col in ("floor", "-8") else col
            line += "   %s %9.1f (%.1f-%.1f)   ratio %.2f" % (label, *f, s[0] / f[0])
        print(line)
if "soak" in rows:
    print("\n%s category loads and %s repaints of the 730-item grid" % (sys.argv[3], sys.argv[3]))
    for name, values in rows["soak"].items():
        print("  %-7s %s" % (name, values[0]))
PY
