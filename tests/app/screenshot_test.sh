#!/usr/bin/env bash
# Runs scripts/screenshot.sh on an SRT beside a generated movie and on an ASS
# file; each picture must come from a running application and show more than
# one colour. The pictures stay in the output folder.
set -euo pipefail
source_dir="$1"
program="$2"
out="$3"
rm -rf "$out"
mkdir -p "$out/files"
cp "$source_dir/tests/fixtures/document/accents-utf8.srt" "$out/files/Film.srt"
cp "$source_dir/tests/fixtures/document/accents-utf8.ass" "$out/files/Episode.ass"
ffmpeg -loglevel error -y -f lavfi -i testsrc=duration=1:size=320x240:rate=10 "$out/files/Film.mkv"

colours() {
  ffmpeg -loglevel error -i "$1" -f rawvideo -pix_fmt rgb24 - | od -An -v -tx1 -w3 | sort -u | wc -l
}

status=0
for pair in "srt-window.png:$out/files/Film.srt" "ass-window.png:$out/files/Episode.ass"; do
  picture="$out/${pair%%:*}"
  file="${pair#*:}"
  if ! QUILLMAR_PROGRAM="$program" bash "$source_dir/scripts/screenshot.sh" "$picture" "$file"; then
    echo "screenshot test: no picture of $file" >&2
    status=1
    continue
  fi
  count="$(colours "$picture")"
  if [ "$count" -le 1 ]; then
    echo "screenshot test: $picture has a single colour" >&2
    status=1
  fi
  echo "$picture: $count colours"
done
exit "$status"
