#!/usr/bin/env bash
# Every build a script starts uses as many jobs as the machine has cores.
set -euo pipefail
cd "$(dirname "$0")/.."
found=0
while IFS= read -r line; do
  found=1
  case "$line" in
    *'-j "$(nproc)"'*) ;;
    *) echo "builds without -j \"\$(nproc)\": $line" >&2; exit 1 ;;
  esac
done < <(grep -Hn 'cmake --build' scripts/*.sh .ci/run || true)
[ "$found" -eq 1 ] || { echo "no script builds anything" >&2; exit 1; }
