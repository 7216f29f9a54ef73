#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror $files; then
  echo "Run: git ls-files '*.cpp' '*.h' | xargs clang-format -i" >&2
  exit 1
fi
