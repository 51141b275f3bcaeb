#!/usr/bin/env bash
# Sets everything up, checks the sources' format, then builds and tests the
# three configurations:
#   native   g++ with AddressSanitizer and UBSan (warnings are errors), every
#            portable test;
#   windows  mingw-w64 cross build, every test under Wine (Xvfb when needed);
#   fuzz     clang with libFuzzer, each fuzzer for a short bounded time.
# Prints a summary line per build and exits non-zero on any failure.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

"$repo/scripts/setup.sh" || exit 1

native=$repo/build/native
win=$repo/build/windows
fuzz=$repo/build/fuzz
fuzz_seconds=${TESS_FUZZ_SECONDS:-15}
mkdir -p "$repo/build"
status=0
summary=()
total_pass=0
total_fail=0
# Whatever this script started (Xvfb, wineserver, PulseAudio) stops on any exit.
trap 'wine_stop; pulse_stop' EXIT

echo "== format"
mapfile -t sources < <(cd "$repo" && git ls-files '*.cpp' '*.h' '*.c')
if (cd "$repo" && clang-format --dry-run --Werror "${sources[@]}" 2>"$repo/build/format.log"); then
  total_pass=$((total_pass + 1)); summary+=("format: ${#sources[@]} sources formatted")
else
  grep -m 20 'error:' "$repo/build/format.log"
  status=1; total_fail=$((total_fail + 1))
  summary+=("format: $(grep -c 'error:' "$repo/build/format.log") places differ from .clang-format")
fi

record() {  # record <label> <build dir> <ctest status>
  local label=$1 dir=$2 rc=$3 counts p f
  counts=$(gtest_counts "$dir"); p=${counts% *}; f=${counts#* }
  [ "$rc" = 0 ] || { [ "$f" -gt 0 ] || f=$((f + 1)); status=1; }
  total_pass=$((total_pass + p)); total_fail=$((total_fail + f))
  summary+=("$label: $(cd "$dir" && ctest -N | awk '/Total Tests:/ {print $3}') test programs, $p tests passed, $f failed")
}

echo "== native build"
if configure_native "$native" && build "$native"; then
  (cd "$native" && ctest --output-on-failure -j"$jobs")
  record native "$native" $?
else
  summary+=("native: build failed"); status=1; total_fail=$((total_fail + 1))
fi

echo "== windows build"
if configure_windows "$win" "$native" && build "$win"; then
  wine_start wineprefix
  pulse_start "$win"
  # Now and then, under heavy load, a Wine process that has finished its tests
  # does not exit, or one ends before its first test without a word; such a
  # program runs once more before it counts as failed, and is named below.
  (cd "$win" && ctest --output-on-failure --repeat until-pass:2 -j"$jobs")
  rc=$?
  reruns=$(rerun_programs "$win")
  [ -z "$reruns" ] || echo "windows: passed only when run again: $reruns"
  pulse_stop
  wine_stop
  record windows "$win" $rc
else
  summary+=("windows: build failed"); status=1; total_fail=$((total_fail + 1))
fi

echo "== fuzz build"
if CC=clang CXX=clang++ configure_native "$fuzz" -DTESS_FUZZ=ON -DTESS_DATA=OFF -DTESS_BENCH=OFF &&
   build "$fuzz"; then
  fuzzers=$(sed '/^$/d' "$fuzz/fuzzers.txt")
  # Each fuzzer is one process on one core; several run side by side (at most
  # four, for their memory limits), each for its fixed time.
  fuzz_jobs=$((jobs < 4 ? jobs : 4))
  running=()
  for f in $fuzzers; do
    if [ ${#running[@]} -ge "$fuzz_jobs" ]; then wait "${running[0]}"; running=("${running[@]:1}"); fi
    corpus=$fuzz/corpus/$(basename "$f"); mkdir -p "$corpus"; rm -f "$f.rc"
    ( "$f" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=0 \
        "$corpus" >"$f.log" 2>&1; echo $? >"$f.rc" ) &
    running+=($!)
  done
  [ ${#running[@]} = 0 ] || wait "${running[@]}"
  nf=0; bad=0
  for f in $fuzzers; do
    nf=$((nf + 1))
    if [ "$(cat "$f.rc" 2>/dev/null)" != 0 ]; then
      echo "fuzzer $(basename "$f") found a failure:"; tail -30 "$f.log"; bad=$((bad + 1))
    fi
  done
  [ $bad = 0 ] || status=1
  total_pass=$((total_pass + nf - bad)); total_fail=$((total_fail + bad))
  summary+=("fuzz: $nf fuzzers ran ${fuzz_seconds}s each, $bad with findings")
else
  summary+=("fuzz: build failed"); status=1; total_fail=$((total_fail + 1))
fi

echo
printf '%s\n' "${summary[@]}"
echo "tests: $total_pass passed, $total_fail failed"
exit $status
