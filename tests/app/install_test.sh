#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that everything the
# program needs at run time, and the desktop integration, is there.
set -euo pipefail
build="$1"
prefix="$2"
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" > /dev/null
status=0
for entry in bin/quillmar bin/quillmar-app share/applications/quillmar.desktop share/mime/packages/quillmar.xml \
  share/quillmar/fonts/fonts.conf share/quillmar/ffmpeg/ffmpeg share/quillmar/ffmpeg/ffplay \
  share/quillmar/mkvtoolnix/mkvmerge share/quillmar/tesseract304.zip; do
  if [ ! -e "$prefix/$entry" ]; then
    echo "install: $entry is missing" >&2
    status=1
  fi
done
for program in quillmar quillmar-app; do
  [ -x "$prefix/bin/$program" ] || { echo "install: bin/$program is not executable" >&2; status=1; }
done
desktop-file-validate "$prefix/share/applications/quillmar.desktop" || status=1
grep -q 'Exec=quillmar %F' "$prefix/share/applications/quillmar.desktop" || status=1
for type in application/x-subrip text/x-ssa application/x-quillmar-vobsub-index \
  application/x-quillmar-pgs-subtitles; do
  grep -q "MimeType=.*$type;" "$prefix/share/applications/quillmar.desktop" || {
    echo "install: MIME type $type is not offered" >&2
    status=1
  }
done
for glob in '\*.idx' '\*.sup'; do
  grep -q "pattern=\"$glob\"" "$prefix/share/mime/packages/quillmar.xml" || status=1
done
exit "$status"
