#!/usr/bin/env bash
# The demo export of the Windows build under Wine: builds the windows preset's Velmora1 and
# orbeck-admin, loads data/demo-company.json into a store of its own
# (build/windows/demo-home), runs Velmora1.exe headless through data/demo.script and
# compares the document byte for byte with the golden document of the Linux build.
# Without a drive map the Windows build sees the real drives: the document goes to Wine's
# C:\ (build/windows/wine-prefix/drive_c).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
build="$root/build/windows"

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target Velmora1 orbeck-admin

export WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=(sh "$root/cmake/wine-run.sh")
home="$build/demo-home"
rm -rf "$home"
mkdir -p "$home"
"${wine[@]}" "$build/tools/orbeck-admin/orbeck-admin.exe" load "Z:$root/data/demo-company.json" --home "Z:$home"

output="$WINEPREFIX/drive_c/kessan.xml"
rm -f "$output"
set +e
env -u VELMORA_DRIVES ORBECK_HOME="Z:$home" VELMORA_UI_SCRIPT="Z:$root/data/demo.script" \
  VELMORA_UI_TRANSCRIPT="Z:$home/transcript.jsonl" "${wine[@]}" "$build/editions/Velmora1.exe"
status=$?
set -e
echo "run status: $status"
if [ "$status" -ne 0 ] || [ ! -f "$output" ]; then
  echo "demo under Wine: no document ($output)" >&2
  exit 2
fi
golden="$root/tests/data/e2e/demo-company.xml"
if cmp "$output" "$golden"; then
  echo "document:   $output, byte-identical to $golden"
else
  echo "demo under Wine: the document differs from $golden" >&2
  exit 1
fi
