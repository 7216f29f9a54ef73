#!/usr/bin/env bash
# Takes docs/screenshots/inspect.png: the HTML page of velmora-inspect show for the demo
# company's document, rendered by Debian's chromium without a display. Installs chromium
# when it is missing (it is needed for this picture only).
# Usage: scripts/inspect-screenshot.sh [PRESET]   (default: "default"; the preset's build is used)
set -euo pipefail
preset="${1:-default}"
cd "$(dirname "$0")/.."
if ! command -v chromium >/dev/null; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends chromium
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" --target velmora-inspect >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"build/$preset/tools/velmora-inspect/velmora-inspect" show tests/data/e2e/demo-company.xml --html "$work/demo.html" >/dev/null
mkdir -p docs/screenshots
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir="$work/profile" \
  --window-size=1100,1500 --screenshot="$work/inspect.png" "file://$work/demo.html" >/dev/null 2>&1
cp "$work/inspect.png" docs/screenshots/inspect.png
echo docs/screenshots/inspect.png
