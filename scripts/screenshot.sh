#!/usr/bin/env bash
# Starts Quillmar with the given files on a virtual display, waits (at most
# 30 s) for its window, lets it settle and saves the screen as a PNG with
# ffmpeg's x11grab, while the application still runs; then ends it.
# Usage: scripts/screenshot.sh OUT.png [FILE…]
# QUILLMAR_PROGRAM names another build of the program (default build/).
# QUILLMAR_SHOT_SIZE sets the screen (default 1280x900); QUILLMAR_SHOT_WM names
# a window manager to run on it first, such as openbox (default none).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
size="${QUILLMAR_SHOT_SIZE:-1280x900}"

if [ "${1:-}" = "--inside" ]; then
  shift
  out="$1"
  shift
  wm_pid=""
  if [ -n "${QUILLMAR_SHOT_WM:-}" ]; then
    "$QUILLMAR_SHOT_WM" > "$out.wm.log" 2>&1 &
    wm_pid=$!
    trap 'kill "$wm_pid" 2> /dev/null || true' EXIT
    # At most 10 s for it to take over the screen.
    for _ in $(seq 1 100); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && break
      sleep 0.1
    done
  fi
  "$QUILLMAR_SHOT_PROGRAM" "$@" > "$out.log" 2>&1 &
  pid=$!
  expected="Quillmar"
  [ $# -gt 0 ] && expected="$(basename "$1")"
  found=""
  for _ in $(seq 1 150); do
    if ! kill -0 "$pid" 2> /dev/null; then break; fi
    if xwininfo -root -tree 2> /dev/null | grep -qF "\"$expected\": (\"quillmar\""; then
      found=yes
      break
    fi
    sleep 0.2
  done
  if [ -z "$found" ]; then
    echo "screenshot: no window \"$expected\" appeared; the program printed:" >&2
    tail -n 40 "$out.log" >&2 || true
    kill "$pid" 2> /dev/null || true
    exit 1
  fi
  sleep "${QUILLMAR_SHOT_SETTLE:-3}"
  if ! kill -0 "$pid" 2> /dev/null; then
    echo "screenshot: Quillmar ended before the picture was taken; it printed:" >&2
    tail -n 40 "$out.log" >&2 || true
    exit 1
  fi
  status=0
  ffmpeg -loglevel error -y -f x11grab -video_size "$size" -i "$DISPLAY" -frames:v 1 "$out" || status=$?
  kill "$pid" 2> /dev/null || true
  wait "$pid" 2> /dev/null || true
  exit "$status"
fi

if [ $# -lt 1 ]; then
  echo "usage: $0 OUT.png [FILE…]" >&2
  exit 2
fi
out="$(realpath -m "$1")"
shift
program="${QUILLMAR_PROGRAM:-$root/build/src/app/quillmar}"
if [ ! -x "$program" ]; then
  echo "screenshot: $program is not built (bash scripts/setup.sh app)" >&2
  exit 1
fi
files=()
for file in "$@"; do files+=("$(realpath -m "$file")"); done
export QUILLMAR_SHOT_PROGRAM="$program" QT_QPA_PLATFORM=xcb
exec bash "$root/scripts/with-display.sh" "${size}x24" bash "$root/scripts/screenshot.sh" --inside "$out" "${files[@]}"
