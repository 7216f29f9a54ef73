#!/usr/bin/env bash
# Exports the demo company headless: installs what the build needs, builds the default
# preset, loads data/demo-company.json into a host store of its own (build/demo-home) and
# runs Velmora1 through the automation script data/demo.script.
#   scripts/demo.sh [OUTPUT]    OUTPUT: where the document goes (default build/demo-out/kessan.xml)
# When the run does not complete, the texts of its message boxes are printed from the
# transcript. DEMO_BUILD_DIR names an existing build to use as it is (nothing is installed
# or built then; the host store goes to DEMO_BUILD_DIR/demo-home).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

output="${1:-build/demo-out/kessan.xml}"
case "$output" in /*) ;; *) output="$root/$output" ;; esac
outdir="$(dirname "$output")"
outname="$(basename "$output")"
mkdir -p "$outdir"
outdir="$(cd "$outdir" && pwd)"
output="$outdir/$outname"

if [ -n "${DEMO_BUILD_DIR:-}" ]; then
  build="$(cd "$DEMO_BUILD_DIR" && pwd)"
  home="$build/demo-home"
else
  bash scripts/install-deps.sh
  cmake --preset default >/dev/null
  cmake --build --preset default -j "$(nproc)" --target Velmora1 orbeck-admin
  build="$root/build/default"
  home="$root/build/demo-home"
fi
admin="$(find "$build/tools" -type f -name orbeck-admin -perm -u+x | head -n 1)"
program="$build/editions/Velmora1"
if [ -z "$admin" ] || [ ! -x "$program" ]; then
  echo "demo: the build did not produce orbeck-admin and Velmora1" >&2
  exit 2
fi

rm -rf "$home"
mkdir -p "$home"
"$admin" load "$root/data/demo-company.json" --home "$home"

. "$root/scripts/headless-run.sh"
