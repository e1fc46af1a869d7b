#!/usr/bin/env bash
# Opens a generated SRT of realistic dialogue as the editor does and writes it
# as ASS (subtitle_convert), against `ffmpeg -i x.srt x.ass` on the same file,
# alternately RUNS times each; prints the medians of wall and CPU (user+sys)
# time, their ratios (ours / ffmpeg) and the peak resident memory of each.
# Usage: bench/compare-ffmpeg.sh [CUES…]   (default 20 10000 50000 200000)
# Environment: BUILD (default build-bench), RUNS (default 5),
#              FOLDER for the files (default <temp>/quillmar-bench).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD:-$root/build-bench}"
runs="${RUNS:-5}"
folder="${FOLDER:-${TMPDIR:-/tmp}/quillmar-bench}"
convert="$build/bench/subtitle_convert"
sizes=("$@")
[ "${#sizes[@]}" -gt 0 ] || sizes=(20 10000 50000 200000)

if [ ! -x "$convert" ]; then
  echo "compare-ffmpeg: no $convert; build with -DQUILLMAR_BENCH=ON first:" >&2
  echo "  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLMAR_BENCH=ON -DQUILLMAR_TESTS=OFF" >&2
  echo "  cmake --build build-bench --target subtitle_convert" >&2
  exit 2
fi
for tool in ffmpeg /usr/bin/time; do
  command -v "$tool" > /dev/null || { echo "compare-ffmpeg: $tool is missing (scripts/setup.sh installs it)" >&2; exit 2; }
done
mkdir -p "$folder"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

# One run: prints "wall cpu peak_kB". Bash's `time` gives wall, user and sys
# time to the millisecond (those of the child included); GNU time, which is
# that child, gives the peak resident set.
measure() {
  local rss="$folder/rss.$$" err="$folder/err.$$" times
  local TIMEFORMAT='%3R %3U %3S'
  if ! times=$({ time /usr/bin/time -o "$rss" -f '%M' "$@" > /dev/null 2> "$err"; } 2>&1); then
    echo "compare-ffmpeg: failed: $*" >&2
    cat "$err" >&2
    exit 1
  fi
  echo "$times $(tail -n 1 "$rss")" | awk '{ printf "%.3f %.3f %d\n", $1, $2 + $3, $4 }'
  rm -f "$rss" "$err"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column_of() { awk -v c="$1" '{ print $c }'; }
maximum() { sort -g | tail -n 1; }

echo "cores: $(nproc); load average: $(cut -d' ' -f1-3 /proc/loadavg); runs: $runs"
printf '%8s %9s %9s %9s %9s %7s %7s %9s %9s\n' cues wall_ours wall_ff cpu_ours cpu_ff \
  wall_x cpu_x peak_ours peak_ff
for cues in "${sizes[@]}"; do
  srt="$folder/dialogue-$cues.srt"
  # Made again when the program (and so perhaps the generator) is newer.
  if [ ! -s "$srt" ] || [ "$convert" -nt "$srt" ]; then
    "$convert" --generate "$cues" "$srt"
  fi
  ours=()
  theirs=()
  for ((i = 0; i < runs; i++)); do
    ours+=("$(measure "$convert" "$srt" "$folder/dialogue-$cues.quillmar.ass")")
    theirs+=("$(measure ffmpeg -nostdin -v error -y -i "$srt" "$folder/dialogue-$cues.ffmpeg.ass")")
  done
  wall_ours=$(printf '%s\n' "${ours[@]}" | column_of 1 | median)
  cpu_ours=$(printf '%s\n' "${ours[@]}" | column_of 2 | median)
  peak_ours=$(printf '%s\n' "${ours[@]}" | column_of 3 | maximum)
  wall_ff=$(printf '%s\n' "${theirs[@]}" | column_of 1 | median)
  cpu_ff=$(printf '%s\n' "${theirs[@]}" | column_of 2 | median)
  peak_ff=$(printf '%s\n' "${theirs[@]}" | column_of 3 | maximum)
  awk -v n="$cues" -v wo="$wall_ours" -v wf="$wall_ff" -v co="$cpu_ours" -v cf="$cpu_ff" \
    -v po="$peak_ours" -v pf="$peak_ff" 'BEGIN {
      wr = wf > 0 ? sprintf("%.2f", wo / wf) : "-"
      cr = cf > 0 ? sprintf("%.2f", co / cf) : "-"
      printf "%8d %8.3fs %8.3fs %8.3fs %8.3fs %7s %7s %7.1fMB %7.1fMB\n", n, wo, wf, co, cf, wr, cr, po / 1024, pf / 1024
    }'
done
echo "wall_x, cpu_x: ours / ffmpeg (medians); peak: the largest resident set of the runs"
