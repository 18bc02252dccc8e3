#!/usr/bin/env bash
# `make bench`: what the core costs per call, and what Quellor costs while it
# waits, held against a baseline Windows program.
#
# 1. Native: builds core_bench (Release) and runs it.
# 2. Windows: builds quellor.exe, the baseline program, the start probe and
#    the shutdown recorder with the same toolchain; then, in the Wine session
#    of scripts/wine-session.sh (its prepared prefix under Xvfb, whose
#    shutdown.exe is the recorder, checked before anything starts), measures
#    Quellor beside two yardsticks in one run: start-up to the window shown,
#    resident memory after 10 s, CPU time over a minute of idle ticking, and
#    executable size. The baseline is an empty window with a timer; the floor
#    adds what Quellor cannot do without while it waits (its manifest, one
#    processor reading and two changing read-outs a second).
#
# Writes build/bench/report.txt (figures and ratios) and
# build/bench/idle-cpu.png (CPU time over the idle minute). Quellor runs with
# -t30000 -o0: the timer method alone, with a countdown of 30000 s, so it
# cannot fire while it is measured.
#
# Settings (environment): JOBS (build jobs, 2), BENCH_NATIVE_DIR and
# BENCH_WINDOWS_DIR (build folders), BENCH_IDLE_SECONDS (60),
# BENCH_START_RUNS (7 measured starts of each program, after one unmeasured).
set -euo pipefail
self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
cd "$(dirname "$self")/.."
root=$PWD

out=$root/build/bench
nativeDir=${BENCH_NATIVE_DIR:-$root/build/bench-native}
windowsDir=${BENCH_WINDOWS_DIR:-$root/build/bench-windows}
jobs=${JOBS:-2}
idleSeconds=${BENCH_IDLE_SECONDS:-60}
startRuns=${BENCH_START_RUNS:-7}
quellorArgs=(-t30000 -o0)
memorySecond=10
# Seconds between all windows shown and the start of the idle minute, so
# that the minute holds ticks alone and not the end of start-up.
settle=5

# One line of the footprint table.
row() { printf '  %-40s %9s %9s %9s %7s %-16s %7s\n' "$@"; }
# Ratio a/b with two decimals, or n/a when b is 0.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 == 0) print "n/a"; else printf "%.2f", a / b }'; }
# "met" or "MISSED": whether value <= limit.
verdict() { awk -v v="$1" -v l="$2" 'BEGIN { print (v != "n/a" && v + 0 <= l + 0) ? "met" : "MISSED" }'; }
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "n/a"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# ---------------------------------------------------------------- native part
native_part() {
  # -O2 rather than -O3: GCC 12 at -O3 reports a false -Wrestrict in the core
  # (a short text concatenation), and the warnings are errors.
  cmake -S "$root" -B "$nativeDir" -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
    >/dev/null
  cmake --build "$nativeDir" --target core_bench -j "$jobs"
  local raw=$out/core_bench.txt reps=7
  "$nativeDir/bench/core_bench" --benchmark_repetitions="$reps" \
    --benchmark_report_aggregates_only=true --benchmark_display_aggregates_only=true | tee "$raw"

  # The median rows: name, time, unit, cpu, unit, iterations, counters.
  {
    echo "Core, native (Google Benchmark, Release build at -O2, median of $reps repetitions, CPU time per call)"
    printf '  %-42s %10s %8s %8s %8s\n' benchmark "ns/call" allocs bytes redraws
    awk 'function num(text,   unit, scale) {
        # Google Benchmark writes counters with SI prefixes: 1.9k, 38u.
        unit = substr(text, length(text)); scale = 1
        if (unit == "k") scale = 1e3; else if (unit == "M") scale = 1e6
        else if (unit == "m") scale = 1e-3; else if (unit == "u") scale = 1e-6
        else if (unit == "n") scale = 1e-9
        if (scale != 1) text = substr(text, 1, length(text) - 1)
        return sprintf("%.2f", text * scale)
      }
      $1 ~ /_median$/ {
      name = $1; sub(/_median$/, "", name)
      ns = $4; if ($5 == "us") ns *= 1000; else if ($5 == "ms") ns *= 1000000
      allocs = "-"; bytes = "-"; redraws = "-"
      for (i = 7; i <= NF; i++) {
        split($i, kv, "=")
        if (kv[1] == "allocs") allocs = num(kv[2])
        else if (kv[1] == "bytes") bytes = num(kv[2])
        else if (kv[1] == "redraws") redraws = num(kv[2])
      }
      printf "  %-42s %10.1f %8s %8s %8s\n", name, ns, allocs, bytes, redraws
    }' "$raw"
    awk '$1 ~ /_median$/ { ns = $4; if ($5 == "us") ns *= 1000; else if ($5 == "ms") ns *= 1000000; t[$1] = ns }
      END {
        e = t["BM_Reload_EmptyCommandLine_median"]; d = t["BM_Reload_DefaultSwitchesOnCommandLine_median"]
        if (e != "" && d != "") printf "  ParseCommandLine on the default switches (private; estimated as the difference of the two\n  reloads, which differ only in the command line): %.1f ns\n", d - e
        k = t["BM_Tick_median"]
        if (k != "") printf "  Target: one tick under 1000 ns of core time: %.1f ns, %s\n", k, (k < 1000 ? "met" : "MISSED")
      }' "$raw"
    echo "  (allocs, bytes: heap allocations per call and the bytes they ask for; redraws: control"
    echo "  changes per call that the front end repaints.)"
  } >"$out/native.txt"
  # A benchmark that finds it measured the wrong thing stops with an error.
  if grep -q 'ERROR OCCURRED' "$raw"; then
    grep 'ERROR OCCURRED' "$raw" | sed 's/^/  /' >>"$out/native.txt"
    echo "bench: a core benchmark reported an error" >&2
    return 1
  fi
}

# ---------------------------------------------------------------- windows part
windows_part() {
  cmake -S "$root" -B "$windowsDir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
  cmake --build "$windowsDir" --target quellor shutdown_recorder baseline_window floor_window start_probe \
    -j "$jobs"
  [ -f "$windowsDir/quellor.exe" ] || { echo "bench: no $windowsDir/quellor.exe" >&2; return 1; }
  # The same Wine session as the tests': the prepared prefix, Xvfb, and the
  # recorder in place of the system's shutdown command, checked before
  # anything starts.
  QUELLOR_WINDOWS_BUILD=$windowsDir BENCH_WINDOWS_DIR=$windowsDir \
    "$root/scripts/wine-session.sh" "$self" --in-wine-session
}

# The Linux process whose command line (as Wine shows it) starts with $1.
linux_pid_of() {
  local want=$1 p line
  for p in /proc/[0-9]*; do
    line=$(tr "\\0" " " 2>/dev/null <"$p/cmdline") || continue
    if [[ $line == "$want "* || $line == "$want" ]]; then
      echo "${p#/proc/}"
      return 0
    fi
  done
  return 1
}

# The wineserver of this prefix: it works in a folder named after the
# prefix's device and inode.
wineserver_pid() {
  local tag p
  tag=$(printf 'server-%x-%x' "$(stat -c %d "$prefix")" "$(stat -c %i "$prefix")")
  for p in /proc/[0-9]*; do
    [[ $(cat "$p/comm" 2>/dev/null) == wineserver* ]] || continue
    [[ $(readlink "$p/cwd" 2>/dev/null) == *"/$tag" ]] && { echo "${p#/proc/}"; return 0; }
  done
  return 1
}

# utime+stime of a process in ms, from /proc/<pid>/stat (fields after comm).
cpu_ticks_ms() {
  local hz
  hz=$(getconf CLK_TCK)
  sed 's/^.*) //' "/proc/$1/stat" | awk -v hz="$hz" '{ printf "%.0f", ($12 + $13) * 1000 / hz }'
}

# The scheduler's runtime of all live threads of a process, in ms.
sched_ms() {
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.3f", s / 1e6 }'
}

# A value the start probe printed; its lines end in CR LF.
probe_value() { tr -d '\r' <"$1" | awk -v k="$2" '$1 == k { print $2 }'; }

status_kb() { awk -v k="$2:" '$1 == k { print $2 }' "/proc/$1/status"; }

# Waits until file $1 has a line starting with $2; fails after 60 s.
wait_for_line() {
  local i
  for ((i = 0; i < 600; i++)); do
    grep -q "^$2 " "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "bench: no '$2' in $1:" >&2
  cat "$1" >&2
  return 1
}

started=()
# shellcheck disable=SC2317 # run by the EXIT trap
cleanup() {
  local p
  for p in "${started[@]}"; do kill "$p" 2>/dev/null || true; done
}

in_wine_session() {
  # WINEPREFIX and QUELLOR_SHUTDOWN_LOG come from scripts/wine-session.sh.
  prefix=$WINEPREFIX
  trap cleanup EXIT
  local bin=$windowsDir/bench tmp=$out/wine
  mkdir -p "$tmp" "$prefix/drive_c/bench"
  # The recorder's log of this prefix; only what the measurement adds counts.
  local calls=$prefix/shutdown-calls.txt callsBefore
  callsBefore=$(grep -c . "$calls" 2>/dev/null || true)

  cp "$bin/start_probe.exe" "$bin/baseline_window.exe" "$bin/floor_window.exe" \
    "$windowsDir/quellor.exe" "$prefix/drive_c/bench/"
  local programs=(baseline floor quellor)
  local -A args=([baseline]="" [floor]="" [quellor]="${quellorArgs[*]}")
  local -A exe=([baseline]='C:\bench\baseline_window.exe' [floor]='C:\bench\floor_window.exe'
    [quellor]='C:\bench\quellor.exe')
  local -A size=([baseline]=$(stat -c %s "$bin/baseline_window.exe")
    [floor]=$(stat -c %s "$bin/floor_window.exe") [quellor]=$(stat -c %s "$windowsDir/quellor.exe"))

  # Start-up: each program started alone, in an order that turns round
  # from run to run, after one start of each that is not counted (the first
  # start in a new prefix reads the system's files from disk).
  local i j name shown
  local -A starts=()
  for ((i = 0; i <= startRuns; i++)); do
    for ((j = 0; j < ${#programs[@]}; j++)); do
      name=${programs[(i + j) % ${#programs[@]}]}
      # shellcheck disable=SC2086 # the arguments are words
      shown=$(wine 'C:\bench\start_probe.exe' 30000 0 "${exe[$name]}" ${args[$name]} </dev/null \
        2>>"$tmp/probe.err" | tr -d '\r' | awk '$1 == "shown_ms" { print $2 }')
      [ -n "$shown" ] || { echo "bench: $name showed no window" >&2; cat "$tmp/probe.err" >&2; return 1; }
      ((i == 0)) || starts[$name]+="$shown "
    done
  done

  # The idle minute: all three programs running at once, sampled every second
  # from $settle s after all windows are shown; the resident memory is read
  # $memorySecond s after they were shown.
  local holdMs=$(((idleSeconds + settle + 5) * 1000))
  local -A pid=()
  for name in "${programs[@]}"; do
    # shellcheck disable=SC2086
    wine 'C:\bench\start_probe.exe' 30000 "$holdMs" "${exe[$name]}" ${args[$name]} \
      </dev/null >"$tmp/$name.probe" 2>&1 &
    started+=($!)
    wait_for_line "$tmp/$name.probe" shown_ms
    for ((i = 0; i < 50; i++)); do
      pid[$name]=$(linux_pid_of "${exe[$name]}") && break
      sleep 0.1
    done
    [ -n "${pid[$name]:-}" ] || { echo "bench: cannot find the Linux process of $name" >&2; return 1; }
  done
  local server
  server=$(wineserver_pid) || server=""
  sleep "$settle"

  local data=$out/idle-cpu.dat t0 t now server0=0
  local -A rss=() anon=() ticks0=() sched0=()
  t0=$(date +%s.%N)
  for name in "${programs[@]}"; do
    ticks0[$name]=$(cpu_ticks_ms "${pid[$name]}")
    sched0[$name]=$(sched_ms "${pid[$name]}")
  done
  [ -n "$server" ] && server0=$(sched_ms "$server")
  echo "# seconds baseline_ms quellor_ms baseline_sched_ms quellor_sched_ms wineserver_ms" \
    "floor_ms floor_sched_ms" >"$data"
  for ((t = 0; t <= idleSeconds; t++)); do
    now=$(date +%s.%N)
    sleep "$(awk -v a="$t0" -v t="$t" -v n="$now" 'BEGIN { d = a + t - n; printf "%.3f", (d > 0 ? d : 0) }')"
    local -A ticks=() sched=()
    local ws=0
    for name in "${programs[@]}"; do
      [ -r "/proc/${pid[$name]}/stat" ] || { echo "bench: $name ended during the idle minute" >&2; return 1; }
      ticks[$name]=$(($(cpu_ticks_ms "${pid[$name]}") - ${ticks0[$name]}))
      sched[$name]=$(awk -v a="$(sched_ms "${pid[$name]}")" -v b="${sched0[$name]}" \
        'BEGIN { printf "%.3f", a - b }')
    done
    [ -n "$server" ] && ws=$(awk -v a="$(sched_ms "$server")" -v b="$server0" 'BEGIN { printf "%.3f", a - b }')
    echo "$t ${ticks[baseline]} ${ticks[quellor]} ${sched[baseline]} ${sched[quellor]} $ws" \
      "${ticks[floor]} ${sched[floor]}" >>"$data"
    if ((t == memorySecond - settle)); then
      for name in "${programs[@]}"; do
        rss[$name]=$(status_kb "${pid[$name]}" VmRSS)
        anon[$name]=$(status_kb "${pid[$name]}" RssAnon)
      done
    fi
  done
  wait "${started[@]}" || true
  started=()

  local last startB startQ
  last=$(tail -n 1 "$data")
  startB=$(echo "${starts[baseline]}" | tr ' ' '\n' | grep . | median)
  startQ=$(echo "${starts[quellor]}" | tr ' ' '\n' | grep . | median)
  local idleB idleQ schedB schedQ serverMs idleF schedF startF
  read -r _ idleB idleQ schedB schedQ serverMs idleF schedF <<<"$last"
  startF=$(echo "${starts[floor]}" | tr ' ' '\n' | grep . | median)
  local callCount
  callCount=$(($(grep -c . "$calls" 2>/dev/null || true) - callsBefore))

  local rStart rRss rAnon rIdle rSched rSize
  local fStart fRss fAnon fIdle fSched fSize
  fStart=$(ratio "$startQ" "$startF")
  fRss=$(ratio "${rss[quellor]}" "${rss[floor]}")
  fAnon=$(ratio "${anon[quellor]}" "${anon[floor]}")
  fIdle=$(ratio "$idleQ" "$idleF")
  fSched=$(ratio "$schedQ" "$schedF")
  fSize=$(ratio "${size[quellor]}" "${size[floor]}")
  rStart=$(ratio "$startQ" "$startB")
  rRss=$(ratio "${rss[quellor]}" "${rss[baseline]}")
  rAnon=$(ratio "${anon[quellor]}" "${anon[baseline]}")
  rIdle=$(ratio "$idleQ" "$idleB")
  rSched=$(ratio "$schedQ" "$schedB")
  rSize=$(ratio "${size[quellor]}" "${size[baseline]}")
  {
    echo "Footprint under $(wine --version) with Xvfb, all built with the same toolchain and flags"
    echo "(MinSizeRel, static). baseline: an empty WS_POPUP window with one 1000 ms timer. floor: the"
    echo "baseline with Quellor's manifest, one processor reading and two changing red-on-black"
    echo "read-outs a second. Quellor: ${quellorArgs[*]}. The targets hold Quellor against the baseline."
    row "" baseline floor Quellor "Q/base" target "Q/floor"
    row "start-up to window shown, ms (median of $startRuns)" "$startB" "$startF" "$startQ" \
      "$rStart" "<= 1.25 $(verdict "$rStart" 1.25)" "$fStart"
    row "resident memory after ${memorySecond} s, KiB (VmRSS)" "${rss[baseline]}" \
      "${rss[floor]}" "${rss[quellor]}" "$rRss" "<= 1.10 $(verdict "$rRss" 1.10)" "$fRss"
    row "  of it anonymous, KiB (RssAnon)" "${anon[baseline]}" "${anon[floor]}" \
      "${anon[quellor]}" "$rAnon" "" "$fAnon"
    row "CPU over ${idleSeconds} s idle, ms (utime+stime)" "$idleB" "$idleF" "$idleQ" \
      "$rIdle" "" "$fIdle"
    row "CPU over ${idleSeconds} s idle, ms (scheduler)" "$schedB" "$schedF" "$schedQ" \
      "$rSched" "<= 1.5 $(verdict "$rSched" 1.5)" "$fSched"
    row "executable size, bytes" "${size[baseline]}" "${size[floor]}" "${size[quellor]}" \
      "$rSize" "" "$fSize"
    echo "  executable size target: Quellor under 1048576 bytes, $(verdict "${size[quellor]}" 1048575)"
    echo "  start-up runs, ms: baseline ${starts[baseline]}; floor ${starts[floor]}; Quellor ${starts[quellor]}"
    if [ -n "$server" ]; then
      echo "  wineserver CPU over the same ${idleSeconds} s, the three programs together: ${serverMs} ms"
    else
      echo "  wineserver CPU: not measured (the prefix's wineserver was not found)"
    fi
    echo "  seen by the programs' own system (start probe, GetProcessTimes over the whole run):" \
      "baseline $(probe_value "$tmp/baseline.probe" cpu_ms) ms," \
      "floor $(probe_value "$tmp/floor.probe" cpu_ms) ms," \
      "Quellor $(probe_value "$tmp/quellor.probe" cpu_ms) ms"
    echo "  shutdown command lines recorded during the measurement: $callCount"
  } >"$out/footprint.txt"

  gnuplot <<EOF
set terminal pngcairo size 900,560 font "DejaVu Sans,10"
set output "$out/idle-cpu.png"
set title "CPU time over ${idleSeconds} s of idle ticking under Wine (all three running at once)"
set xlabel "seconds of the idle minute (it starts ${settle} s after all windows were shown)"
set ylabel "CPU time used since the minute began, ms"
set key top left
set grid
plot "$data" using 1:3 with linespoints lw 2 pt 7 ps 0.6 lc rgb "#c03020" title "Quellor (utime+stime)", \
     "$data" using 1:5 with lines lw 1 dt 2 lc rgb "#c03020" title "Quellor (scheduler runtime)", \
     "$data" using 1:7 with linespoints lw 2 pt 9 ps 0.6 lc rgb "#208040" title "floor (utime+stime)", \
     "$data" using 1:8 with lines lw 1 dt 2 lc rgb "#208040" title "floor (scheduler runtime)", \
     "$data" using 1:2 with linespoints lw 2 pt 5 ps 0.6 lc rgb "#2050c0" title "baseline (utime+stime)", \
     "$data" using 1:4 with lines lw 1 dt 2 lc rgb "#2050c0" title "baseline (scheduler runtime)"
EOF
}

case "${1:-}" in
  --native)
    native_part
    exit
    ;;
  --windows)
    windows_part
    exit
    ;;
  --in-wine-session)
    in_wine_session
    exit
    ;;
esac

mkdir -p "$out"
rm -f "$out/native.txt" "$out/footprint.txt" "$out/idle-cpu.png" "$out/idle-cpu.dat"
failed=0
"$self" --native || failed=1
"$self" --windows || failed=1
{
  echo "Quellor benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $(uname -sm), $(nproc) cores"
  echo
  cat "$out/native.txt" 2>/dev/null || echo "Core, native: not measured (see the output above)"
  echo
  cat "$out/footprint.txt" 2>/dev/null || echo "Footprint under Wine: not measured (see the output above)"
} >"$out/report.txt"
echo
cat "$out/report.txt"
[ -f "$out/idle-cpu.png" ] && echo "Plot: $out/idle-cpu.png"
exit "$failed"
