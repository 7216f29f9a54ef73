#!/usr/bin/env bash
# Fails when a source file includes a header of a layer it may not use. The table below is
# the same graph the libraries' target_link_libraries state (docs/architecture.md): each
# layer names the layers whose headers it may include besides its own.
# Usage: scripts/check-layers.sh [ROOT]   (default: the project's folder)
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"

declare -A allowed=(
  [platform]="platform"
  [platform/posix]="platform"
  [platform/win32]="platform"
  [platform/script]="platform"
  [platform/qt]="platform platform/script"
  [platform/win32ui]="platform platform/script"
  [runtime]="platform"
  [orbeck]="runtime platform"
  [AccUty]="runtime platform"
  [runstate]="runtime platform"
  [aggregate]="runstate AccUty runtime platform"
  [xmlout]="runstate runtime platform"
  [dialog]="runstate runtime platform"
  [app]="dialog aggregate xmlout runstate runtime platform"
  [editions]="app runstate platform platform/script platform/qt platform/win32ui"
  [tools]="orbeck runtime platform"
  [bench]="orbeck runtime platform"
  [fuzz]="app dialog runstate orbeck runtime platform platform/script tools"
)

# The layer a path belongs to: its first folder, except the UI backends, which are layers
# of their own above the platform (platform/ui is part of the platform library), and the
# platform's system halves (posix/, win32/): compiled into the platform library, one or the
# other, so nothing outside them may include their headers.
layer_of() {
  case "$1" in
    platform/posix/*) echo platform/posix ;;
    platform/win32/*) echo platform/win32 ;;
    platform/script/*) echo platform/script ;;
    platform/qt/*) echo platform/qt ;;
    platform/win32ui/*) echo platform/win32ui ;;
    *) echo "${1%%/*}" ;;
  esac
}

status=0
cd "$root"
while IFS= read -r -d '' file; do
  from=$(layer_of "$file")
  [ -n "${allowed[$from]+x}" ] || continue
  while IFS=: read -r line header; do
    case "$header" in */*) ;; *) continue ;; esac   # a file's own folder, by plain name
    to=$(layer_of "$header")
    [ -n "${allowed[$to]+x}" ] || continue            # not one of the project's layers
    [ "$to" = "$from" ] && continue
    if [[ " ${allowed[$from]} " != *" $to "* ]]; then
      echo "$file:$line: layer '$from' includes \"$header\" of layer '$to'" >&2
      status=1
    fi
  done < <(grep -n -o -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' "$file" |
           sed -E 's/^([0-9]+):.*"([^"]+)"/\1:\2/')
done < <(find . -path ./build -prune -o -path ./tests -prune -o -path ./.git -prune -o \
              -type f \( -name '*.h' -o -name '*.cpp' \) -printf '%P\0')

# What both systems share (platform's top and its dialog framework) calls no system of its
# own: a system header there (any <....h>; the language's own headers have no suffix) means
# the file belongs in one of the halves.
while IFS= read -r hit; do
  echo "$hit: a system header outside platform/posix and platform/win32" >&2
  status=1
done < <(find platform -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' \) -print0 |
           xargs -0 grep -n -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*<[^>]+\.h>' 2>/dev/null |
           cut -d: -f1,2;
         find platform/ui -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' \) -print0 |
           xargs -0 grep -n -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*<[^>]+\.h>' 2>/dev/null |
           cut -d: -f1,2)
if [ "$status" -eq 0 ]; then
  echo "layers: no include runs against the layer graph"
fi
exit "$status"
