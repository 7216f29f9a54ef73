#!/usr/bin/env bash
# Redraws docs/layers.svg, the picture of the layers in docs/architecture.md, from the
# build's own target graph (cmake --graphviz, rendered by Graphviz's dot).
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v dot >/dev/null; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq && $SUDO apt-get install -y -qq --no-install-recommends graphviz
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cmake -S . -B "$out/build" -G Ninja -DVELMORA_BUILD_TESTS=OFF --graphviz="$out/layers.dot" >/dev/null
# Without CMake's legend of target kinds (docs/architecture.md reads the picture).
sed -i '/^subgraph clusterLegend {/,/^}/d' "$out/layers.dot"
dot -Tsvg "$out/layers.dot" -o docs/layers.svg
echo "docs/layers.svg"
