#!/usr/bin/env bash
# The Windows package: installs the built windows preset (stripped) into a fresh folder,
# which zips it, and checks that the zip holds the three editions, their INI files and
# orbeck-admin.exe and nothing else, and that a packaged edition starts under Wine with
# nothing beside it but the package. Prints the zip's path.
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(pwd)/build/windows"
rm -rf "$build/package"
cmake --install "$build" --strip >/dev/null
zip="$(ls "$build"/package/velmora-*-windows.zip)"
expected="Velmora/
Velmora/SUPPORT.INF
Velmora/Velmora1.exe
Velmora/Velmora2.exe
Velmora/Velmora3.exe
Velmora/ZentorDef.ini
Velmora/orbeck-admin.exe"
actual="$(cmake -E tar tf "$zip" | LC_ALL=C sort)"
if [ "$actual" != "$expected" ]; then
  printf 'the package holds:\n%s\nexpected:\n%s\n' "$actual" "$expected" >&2
  exit 1
fi
unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$zip")
version="$(WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all sh cmake/wine-run.sh "$unpacked/Velmora/Velmora1.exe" --version)"
case "$version" in
  Velmora1\ *) ;;
  *) echo "the packaged Velmora1.exe does not start: $version" >&2; exit 1 ;;
esac
echo "$zip"
