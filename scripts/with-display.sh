#!/usr/bin/env bash
# Runs a command on a virtual display of its own and ends the display after it.
# Xvfb picks a free display number itself and reports it once it accepts
# connections (-displayfd): two runs started together never share a display,
# as they can with xvfb-run -a, which picks the number before the server holds it.
# Usage: scripts/with-display.sh WIDTHxHEIGHTxDEPTH COMMAND [ARG…]
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 WIDTHxHEIGHTxDEPTH COMMAND [ARG…]" >&2
  exit 2
fi
screen="$1"
shift
dir="$(mktemp -d)"
xvfb_pid=""
finish() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2> /dev/null || true
    wait "$xvfb_pid" 2> /dev/null || true
  fi
  rm -rf "$dir"
}
trap finish EXIT
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3> "$dir/display" 2> "$dir/xvfb.log" &
xvfb_pid=$!
display=""
# At most 20 s for the server to come up.
for _ in $(seq 1 200); do
  # The number is written whole, with its end of line, once the server is up.
  if [ "$(wc -l < "$dir/display")" -ge 1 ]; then
    display="$(tr -dc '0-9' < "$dir/display")"
    break
  fi
  if ! kill -0 "$xvfb_pid" 2> /dev/null; then break; fi
  sleep 0.1
done
if [ -z "$display" ]; then
  echo "with-display: Xvfb did not start" >&2
  cat "$dir/xvfb.log" >&2
  exit 1
fi
status=0
DISPLAY=":$display" "$@" || status=$?
exit "$status"
