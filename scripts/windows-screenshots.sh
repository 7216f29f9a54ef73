#!/usr/bin/env bash
# Takes docs/screenshots/windows-*.png: the native Windows dialogs of the windows preset's
# build, under Wine on a headless X server (Xvfb), pictured with ImageMagick's import. The
# pictures use a Wine prefix of their own (build/windows/wine-screenshots) with Wine's X11
# driver drawing the windows' frames itself, the Japanese locale and the IPA fonts in place
# of the Windows faces; the tests' prefix keeps its null driver.
# Usage: scripts/windows-screenshots.sh [OUTPUT_DIR]   (default: docs/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
build="$root/build/windows"
out="$(realpath -m "${1:-docs/screenshots}")"
mkdir -p "$out"

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target win32ui_screenshots >/dev/null

work=$(mktemp -d)
xvfb=""
app=""
# Wine takes its language and code page from the Unix locale, and names files with it: the
# Japanese locale is compiled from Debian's locale sources into the build folder, so that
# the machine needs none installed.
locales="$build/wine-screenshots-locale"
if [ ! -d "$locales/ja_JP.UTF-8" ]; then
  mkdir -p "$locales"
  localedef -i ja_JP -f UTF-8 "$locales/ja_JP.UTF-8"
fi
export WINEPREFIX="$build/wine-screenshots" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine in the Japanese locale (the script's own shell keeps its locale).
wine=(env LOCPATH="$locales" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 /usr/lib/wine/wine64)
wineserver=/usr/lib/wine/wineserver
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  "$wineserver" -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display number nobody serves.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "${wine[@]}" wineboot --init >/dev/null 2>&1
  "$wineserver" -w
fi
# Wine draws the frames and captions itself (no window manager runs on the X server).
"${wine[@]}" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
"${wine[@]}" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
for face in 'ＭＳ Ｐゴシック' 'MS UI Gothic' 'MS Shell Dlg' 'Tahoma'; do
  "${wine[@]}" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d IPAPGothic /f >/dev/null
done
"${wine[@]}" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d IPAGothic /f >/dev/null

"${wine[@]}" "$build/tests/win32ui/win32ui_screenshots.exe" "Z:$work" &
app=$!
for name in conditions message-box save-file conditions-parent-mode progress; do
  for _ in $(seq 600); do [ -e "$work/$name.ready" ] && break; sleep 0.1; done
  if [ ! -e "$work/$name.ready" ]; then
    echo "windows-screenshots: $name was never shown" >&2
    exit 1
  fi
  read -r width height x y <"$work/$name.ready"
  # The X server shows what Wine painted a moment later.
  sleep 0.5
  import -display ":$display" -window root -crop "${width}x${height}+${x}+${y}" +repage "$out/windows-$name.png"
  echo "$out/windows-$name.png"
  touch "$work/$name.done"
done
wait "$app"
app=""
