#!/usr/bin/env bash
# Runs every fuzz target for FUZZ_SECONDS (60 by default) from its seeds and
# writes what each did to build/fuzz/report.txt. A finding stops the run and
# leaves its input (crash-*) under build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
targets=(fuzz_numbers fuzz_command_line fuzz_registry fuzz_timer_dialog)
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${JOBS:-2}" --target "${targets[@]}"
report=build/fuzz/report.txt
echo "commit $(git rev-parse --short HEAD), $(date -u '+%Y-%m-%d %H:%M UTC'), ${seconds}s per target" > "$report"
for target in "${targets[@]}"; do
  work=build/fuzz/corpus/$target
  mkdir -p "$work"
  cp -n tests/fuzz/corpus/$target/* "$work"/ 2>/dev/null || true
  log=build/fuzz/$target.log
  # Tokens that the inputs are made of, where a target reads text.
  dict=()
  case $target in
    fuzz_command_line) dict=(-dict="$PWD/tests/fuzz/command_line.dict") ;;
    fuzz_registry) ;;
    *) dict=(-dict="$PWD/tests/fuzz/numbers.dict") ;;
  esac
  echo "== $target: ${seconds}s"
  if ! (cd build/fuzz && "./tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -max_len=32768 -rss_limit_mb=2048 "${dict[@]}" "corpus/$target" >"$target.log" 2>&1); then
    tail -n 30 "$log"
    echo "$target: FINDING (see $log)" | tee -a "$report"
    exit 1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*' || true)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*' || true)
  corpus=$(ls "$work" | wc -l)
  echo "$target: ${runs:-?} executions in ${seconds}s, coverage ${cov:-?} edges, ${ft:-?} features, corpus $corpus, no finding" | tee -a "$report"
done
echo "Report: $report"
