#!/usr/bin/env bash
# `setup.sh run` without a display says so in one line and fails, before it
# installs or builds anything.
set -uo pipefail
output="$(env -u DISPLAY -u WAYLAND_DISPLAY bash "$1/scripts/setup.sh" run Film.srt 2>&1)"
status=$?
lines="$(printf '%s\n' "$output" | wc -l)"
echo "$output"
[ "$status" -ne 0 ] && [ "$lines" -eq 1 ] && [ -n "$output" ]
