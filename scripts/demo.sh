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
tool=orbeck-admin
homeName=demo-home
. "$root/scripts/headless-setup.sh"
"$toolPath" load "$root/data/demo-company.json" --home "$home"

. "$root/scripts/headless-run.sh"
