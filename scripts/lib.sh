# Shared by the build and test scripts: the two configurations and the Wine
# session the Windows tests run in.

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${TESS_JOBS:-$(nproc)}

configure_native() {  # configure_native <build dir> [cmake args...]
  local dir=$1; shift
  cmake -S "$repo" -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@" >"$dir.configure.log" 2>&1 ||
    { cat "$dir.configure.log"; return 1; }
}

configure_windows() {  # configure_windows <build dir> <native build dir> [cmake args...]
  local dir=$1 native=$2; shift 2
  cmake -S "$repo" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
    -DTESS_MINGW_PREFIX="$repo/build/deps/mingw" \
    -DTESS_HOST_TOOLS_DIR="$native/tools/bin" -DTESS_BENCH=OFF "$@" \
    >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
}

build() {  # build <build dir> [targets...]
  local dir=$1; shift
  local args=()
  for t in "$@"; do args+=(--target "$t"); done
  cmake --build "$dir" -j"$jobs" "${args[@]}" >"$dir.build.log" 2>&1 ||
    { grep -E 'error|Error' "$dir.build.log" | head -40; tail -20 "$dir.build.log"; return 1; }
}

# --- Wine session ----------------------------------------------------------
# One persistent wineserver with Wine's services already running, their
# standard streams detached: otherwise the services inherit ctest's pipes and
# ctest never returns. Each test process then starts in about 0.1 s.
wine_started_pids=()

wine_start() {  # wine_start [prefix name]: each name has its own prefix and wineserver
  export WINEPREFIX="$repo/build/${1:-wineprefix}" WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ -z "${DISPLAY:-}" ]; then
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    wine_started_pids+=($!)
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
  fi
  wineserver -p </dev/null >/dev/null 2>&1 &
  wine_started_pids+=($!)
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  local p
  for p in "${wine_started_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wine_started_pids=()
}

# Sums GoogleTest's own counts from ctest's log: "passed failed".
gtest_counts() {  # gtest_counts <build dir>
  local log=$1/Testing/Temporary/LastTest.log
  [ -f "$log" ] || { echo "0 0"; return; }
  awk '/^\[  PASSED  \] [0-9]+ test/ {p += $4}
       /^\[  FAILED  \] [0-9]+ test/ {f += $4}
       END {print p + 0, f + 0}' "$log"
}
