#!/usr/bin/env bash
# Runs the libFuzzer targets of build-fuzz/ (scripts/setup.sh fuzz builds it).
# Usage: scripts/fuzz.sh SECONDS [TARGET...]
#   Each target runs for SECONDS over its seeds, growing its own corpus in
#   build-fuzz/fuzz/corpus/<target>/; findings are written to
#   build-fuzz/fuzz/findings/. Targets run three at a time. Without TARGETs:
#   time_texts srt ass markup codecs charsets document imagesubs.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:?usage: $0 SECONDS [TARGET...]}"
shift
targets=("$@")
[ "${#targets[@]}" -gt 0 ] || targets=(time_texts srt ass markup codecs charsets document imagesubs)
bin="$root/build-fuzz/fuzz"
text="$root/tests/fixtures/document $root/tests/fixtures/realfiles"
declare -A seeds=(
  [time_texts]="$root/fuzz/seeds/time_texts"
  [srt]="$text" [ass]="$text" [document]="$text"
  [markup]="$root/fuzz/seeds/markup"
  [codecs]="$root/fuzz/seeds/codecs"
  [charsets]="$root/tests/fixtures/encodings"
  [imagesubs]="$root/fuzz/seeds/imagesubs"
)
mkdir -p "$bin/findings"
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
run() {
  local t="$1"
  mkdir -p "$bin/corpus/$t"
  # shellcheck disable=SC2086
  "$bin/fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -detect_leaks=0 \
    -print_final_stats=1 -artifact_prefix="$bin/findings/$t-" -dict="$root/fuzz/quillmar.dict" \
    "$bin/corpus/$t" ${seeds[$t]} > "$bin/findings/$t.log" 2>&1
}
pids=()
for t in "${targets[@]}"; do
  run "$t" &
  pids+=("$!")
  if [ "${#pids[@]}" -ge 3 ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
for t in "${targets[@]}"; do
  echo "$t: $(grep -E 'stat::number_of_executed_units|Done [0-9]+ runs' "$bin/findings/$t.log" | tail -1)"
done
exit "$status"
