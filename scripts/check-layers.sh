#!/usr/bin/env bash
# Fails when a source folder includes a header of a folder it does not build
# on. The table mirrors the library targets' links (src/*/CMakeLists.txt).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

declare -A allowed=(
  [platform]="platform"
  [common]="common platform"
  [formatting]="formatting common platform"
  [encodings]="encodings common platform"
  [tools]="tools common platform"
  [document]="document formatting encodings common platform"
  [imagesubs]="imagesubs document tools formatting encodings common platform"
  [editor]="editor document tools formatting encodings common platform"
  [preferences]="preferences tools encodings common platform"
  [app]="app preferences editor imagesubs document tools formatting encodings common platform"
)

status=0
for dir in "$root"/src/*/; do
  folder="$(basename "$dir")"
  if [ -z "${allowed[$folder]+set}" ]; then
    echo "check-layers: src/$folder has no entry in the layer table" >&2
    status=1
    continue
  fi
  while IFS= read -r hit; do
    file="${hit%%:*}"
    rest="${hit#*:}"
    line="${rest%%:*}"
    target="$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$rest")"
    case " ${allowed[$folder]} " in
      *" $target "*) ;;
      *)
        echo "check-layers: ${file#"$root"/}:$line includes a header of src/$target, above src/$folder" >&2
        status=1
        ;;
    esac
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z]+/' "$dir" --include='*.h' --include='*.cpp' | sed -E 's/:([0-9]+):/:\1:/')
done
[ "$status" -eq 0 ] && echo "check-layers: every include stays within its layer"
exit "$status"
