#!/usr/bin/env bash
# Runs every libFuzzer harness of the fuzz preset for SECONDS each (default 30) on a copy of
# its committed seeds; fails on the first finding, whose input and log it keeps in
# build/fuzz/findings/HARNESS/ (the work folder goes). Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target SettingsFileFuzz IniFuzz NotesFuzz CommandLineFuzz ScriptFuzz \
  DriveMapFuzz Cp932Fuzz LoaderFuzz InspectFuzz
# The inspector's harness diffs each input against one of its seeds.
export VELMORA_SOURCE_DIR="$PWD"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for seeds in fuzz/corpus/*/; do
  name=$(basename "$seeds")
  mkdir -p "$work/$name"
  cp "$seeds"* "$work/$name/"
  echo "fuzzing $name for ${seconds}s"
  # A finding ends the harness with a nonzero status and leaves its input in $work.
  if ! (cd "$work" && "$OLDPWD/build/fuzz/fuzz/$name" -max_total_time="$seconds" -max_len=65536 \
      -print_final_stats=0 "$name" >"$work/$name.log" 2>&1); then
    tail -40 "$work/$name.log"
    kept="build/fuzz/findings/$name"
    mkdir -p "$kept"
    cp "$work/$name.log" "$kept/"
    find "$work" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
      -o -name 'oom-*' -o -name 'slow-unit-*' \) -exec cp {} "$kept/" \;
    echo "fuzzing: $name found a fault; its input and log are kept in $PWD/$kept:" >&2
    ls -1 "$kept" >&2
    exit 1
  fi
  grep -E '^#[0-9]+.*DONE' "$work/$name.log" | tail -1 || true
done
echo "fuzzing: no finding"
