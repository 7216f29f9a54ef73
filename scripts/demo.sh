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

# C: is the output folder; the rest of the file system (the program's own folder with its
# definition and support files, the host's folders) is Z:.
printf 'Z: / fixed\nC: "%s" fixed\n' "$outdir" > "$home/drives"
script="$home/demo.script"
# The name goes into a sed replacement: its backslashes, ampersands and bars stay literal.
sedname="$(printf '%s' "$outname" | sed 's/[\\&|]/\\&/g')"
sed "s|^set 1015 C:\\\\kessan.xml\$|set 1015 C:\\\\$sedname|" "$root/data/demo.script" > "$script"
transcript="$home/transcript.jsonl"

set +e
ORBECK_HOME="$home" VELMORA_DRIVES="$home/drives" VELMORA_UI_SCRIPT="$script" \
  VELMORA_UI_TRANSCRIPT="$transcript" "$program"
status=$?
set -e

case "$status" in
  0) meaning="completed" ;;
  1) meaning="cancelled" ;;
  2) meaning="failed" ;;
  *) meaning="unexpected" ;;
esac
if [ "$status" -eq 0 ] && [ -f "$output" ]; then
  echo "document:   $output"
else
  echo "document:   not written ($output)"
fi
echo "run status: $status ($meaning)"
echo "transcript: $transcript"
if [ "$status" -ne 0 ] && [ -f "$transcript" ]; then
  # The program says why in its message boxes; the transcript keeps their texts.
  echo "messages:"
  jq -r 'select(.event == "messageBox") | .text | gsub("\n+"; " ") | "  " + .' "$transcript"
fi
exit "$status"
