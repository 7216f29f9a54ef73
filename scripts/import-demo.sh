#!/usr/bin/env bash
# Exports your own books, shown on the example journal: imports data/example-books.journal
# with its map (data/example-books.map.json) into a host store of its own
# (build/import-home) with orbeck-import, and runs Velmora1 headless through the
# automation script data/demo.script, as scripts/demo.sh does for the demo company.
#   scripts/import-demo.sh [OUTPUT [JOURNAL MAP]]
#     OUTPUT: where the document goes (default build/import-out/kessan.xml); OUTPUT,
#     JOURNAL and MAP relative to the current folder
# DEMO_BUILD_DIR names an existing build to use as it is (nothing is installed or built
# then; the host store goes to DEMO_BUILD_DIR/import-home).
set -euo pipefail
caller="$(pwd)"
cd "$(dirname "$0")/.."
root="$(pwd)"

output="${1:-$root/build/import-out/kessan.xml}"
journal="${2:-$root/data/example-books.journal}"
map="${3:-$root/data/example-books.map.json}"
case "$journal" in /*) ;; *) journal="$caller/$journal" ;; esac
case "$map" in /*) ;; *) map="$caller/$map" ;; esac
case "$output" in /*) ;; *) output="$caller/$output" ;; esac
tool=orbeck-import
homeName=import-home
. "$root/scripts/headless-setup.sh"
"$toolPath" "$journal" --map "$map" --home "$home"

. "$root/scripts/headless-run.sh"
