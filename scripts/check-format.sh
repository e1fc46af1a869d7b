#!/usr/bin/env bash
# Fails when a C++ file differs from what clang-format makes of it
# (.clang-format at the top of the project).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
mapfile -t files < <(find src tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)
clang-format --dry-run -Werror "${files[@]}"
echo "check-format: ${#files[@]} files formatted"
