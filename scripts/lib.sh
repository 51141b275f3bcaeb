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

# --- private PulseAudio server ------------------------------------------------
# The sound test records what Wine plays from a null sink's monitor. The
# server's runtime and state folders live in the build tree; clients find it
# through PULSE_SERVER and the test through TESS_PULSE_SINK. Without
# PulseAudio, parec or sox the test skips.
pulse_pid=

pulse_start() {  # pulse_start <build dir>
  local run=$1/pulse
  if ! command -v pulseaudio >/dev/null || ! command -v parec >/dev/null ||
     ! command -v sox >/dev/null; then
    echo "no PulseAudio, parec or sox: the sound recording test skips"
    return 0
  fi
  rm -rf "$run"; mkdir -p "$run/runtime" "$run/state"; chmod 700 "$run/runtime"
  XDG_RUNTIME_DIR="$run/runtime" PULSE_RUNTIME_PATH="$run/runtime" \
    PULSE_STATE_PATH="$run/state" HOME="$run" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disallow-exit \
      --disable-shm=yes --log-target="file:$run/pulseaudio.log" \
      -L "module-native-protocol-unix auth-anonymous=1 socket=$run/runtime/native" \
      -L "module-null-sink sink_name=tess_null" </dev/null >/dev/null 2>&1 &
  pulse_pid=$!
  for _ in $(seq 50); do [ -S "$run/runtime/native" ] && break; sleep 0.1; done
  if [ -S "$run/runtime/native" ]; then
    export PULSE_SERVER="unix:$run/runtime/native" TESS_PULSE_SINK=tess_null
  else
    echo "PulseAudio did not start: the sound recording test skips"
    pulse_stop
  fi
}

pulse_stop() {
  if [ -n "$pulse_pid" ]; then kill "$pulse_pid" 2>/dev/null || true; wait "$pulse_pid" 2>/dev/null; fi
  pulse_pid=
  unset PULSE_SERVER TESS_PULSE_SINK
}

# Sums GoogleTest's own counts from ctest's log: "passed failed".
rerun_programs() {  # rerun_programs <build dir>: the test programs ctest ran more than once
  local log=$1/Testing/Temporary/LastTest.log
  [ -f "$log" ] || return 0
  awk '/^[0-9]+\/[0-9]+ Test: / {n[$3]++} END {for (t in n) if (n[t] > 1) printf "%s ", t}' "$log"
}

gtest_counts() {  # gtest_counts <build dir>
  local log=$1/Testing/Temporary/LastTest.log
  [ -f "$log" ] || { echo "0 0"; return; }
  # A program run again after a time-out counts once: its last run's figures.
  awk '/^[0-9]+\/[0-9]+ Test: / {t = $3; p[t] = 0; f[t] = 0}
       /^\[  PASSED  \] [0-9]+ test/ {p[t] = $4}
       /^\[  FAILED  \] [0-9]+ test/ {f[t] = $4}
       END {for (t in p) {P += p[t]; F += f[t]}; print P + 0, F + 0}' "$log"
}
