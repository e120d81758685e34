#!/usr/bin/env bash
# Checks that every C++ file is formatted as .clang-format says; prints the differences and fails
# otherwise. Fix with: clang-format -i FILE
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(find src tests bench fuzz assets -type f \
  \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) | sort)
clang-format --dry-run -Werror "${files[@]}"
echo "check-format: ${#files[@]} files formatted"
