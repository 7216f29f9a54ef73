#!/usr/bin/env bash
# Fails when a test can vanish: a C++ source under tests/ that no target of the given builds
# compiles, or a test target (one made by velmora_test) that registers no case with CTest.
# Usage: scripts/check-tests.sh [BUILD_DIR...] (default: build/default, and build/windows when
# it was configured). Run it after the builds, as CI does: test discovery needs the executables.
# A source that only the Windows build compiles (tests/win32ui) is checked against that build;
# without one it must at least be named in the CMakeLists.txt of its folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
builds=("$@")
if [ ${#builds[@]} -eq 0 ]; then
  builds=(build/default)
  [ -f build/windows/compile_commands.json ] && builds+=(build/windows)
fi

have_windows=0
compiled=$(mktemp)
trap 'rm -f "$compiled"' EXIT
failures=0
for build in "${builds[@]}"; do
  commands="$build/compile_commands.json"
  if [ ! -f "$commands" ]; then
    echo "check-tests: $commands is missing (configure $build first)" >&2
    exit 2
  fi
  grep -q 'set(CMAKE_SYSTEM_NAME "Windows")' "$build"/CMakeFiles/*/CMakeSystem.cmake 2>/dev/null && have_windows=1
  jq -r '.[].file' "$commands" | sed "s|^$root/||" >>"$compiled"

  # Test targets: every velmora_test executable compiles cmake/TestEnvironment.cpp once; its
  # object lies in <folder>/CMakeFiles/<target>.dir/.
  targets=$(jq -r '.[] | select(.file | endswith("/cmake/TestEnvironment.cpp")) | .command' "$commands" |
    sed -E 's|^.* -o ([^ ]*/)?CMakeFiles/([^/ ]+)\.dir/[^ ]* .*$|\2|' | sort -u)
  if [ -z "$targets" ]; then
    echo "check-tests: $build has no test targets" >&2
    failures=$((failures + 1))
  fi
  registered=$(ctest --test-dir "$build" --show-only=json-v1 2>/dev/null |
    jq -r '.tests[] | select(.command != null) | select(all(.name; endswith("_NOT_BUILT") | not)) |
           .command[] | split("/") | last | sub("\\.exe$"; "")' | sort -u)
  for target in $targets; do
    if ! grep -qxF "$target" <<<"$registered"; then
      echo "check-tests: $build: the test target $target registers no case with CTest" >&2
      failures=$((failures + 1))
    fi
  done
done

sort -u -o "$compiled" "$compiled"
while IFS= read -r source; do
  grep -qxF "$source" "$compiled" && continue
  folder=$(dirname "$source")
  if [ "$have_windows" -eq 0 ] && [[ "$source" == tests/win32ui/* ]] &&
    grep -qw "$(basename "$source")" "$folder/CMakeLists.txt"; then
    continue
  fi
  echo "check-tests: $source is in no target of ${builds[*]}" >&2
  failures=$((failures + 1))
done < <(find tests -name '*.cpp' | sort)

if [ "$failures" -ne 0 ]; then
  echo "check-tests: $failures problem(s); docs/architecture.md says where a test goes" >&2
  exit 1
fi
echo "check-tests: every test source is built and every test target registers cases"
