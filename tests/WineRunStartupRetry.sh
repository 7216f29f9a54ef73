#!/bin/sh
# cmake/wine-run.sh starts a program again only when Wine's start-up failed before it ran
# (the shared user data could not be mapped), and only once; every other result stands.
# A stand-in wine64 plays each case from a script of exit statuses and error lines.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
startup='err:virtual:virtual_alloc_first_teb wine: failed to map the shared user data: c0000018'
mkdir "$work/wine"
# A server is already running: the script starts none.
printf '#!/bin/sh\nexit 2\n' > "$work/wine/wineserver"
# Each call takes the next line of $PLAY: "<status> <error line>"; it records its arguments
# and the WINEDEBUG it was given.
cat > "$work/wine/wine64" <<'FAKE'
#!/bin/sh
n=$(( $(cat "$CALLS" 2>/dev/null || echo 0) + 1 ))
echo "$n" > "$CALLS"
printf '%s|' "$WINEDEBUG" "$@" >> "$SEEN"; echo >> "$SEEN"
line=$(sed -n "${n}p" "$PLAY")
echo "output of call $n"
[ -n "${line#* }" ] && [ "${line#* }" != "$line" ] && echo "${line#* }" >&2
exit "${line%% *}"
FAKE
chmod +x "$work/wine/wineserver" "$work/wine/wine64"

failures=0
# expect NAME STATUS CALLS PLAY-LINES...
expect() {
  name=$1 status=$2 calls=$3; shift 3
  printf '%s\n' "$@" > "$work/play"
  rm -f "$work/calls" "$work/seen"
  got=0
  CALLS="$work/calls" SEEN="$work/seen" PLAY="$work/play" VELMORA_WINE_DIR="$work/wine" \
    WINEPREFIX="$work/prefix" WINEDEBUG=-all sh "$here/cmake/wine-run.sh" prog.exe 'a b' \
    >"$work/out" 2>"$work/err" || got=$?
  made=$(cat "$work/calls")
  if [ "$got" != "$status" ] || [ "$made" != "$calls" ]; then
    echo "$name: status $got after $made call(s), expected $status after $calls" >&2
    failures=$((failures + 1))
  fi
}

expect "a clean run" 0 1 "0"
expect "a test's own failure" 1 1 "1 [  FAILED  ] Suite.Case"
expect "another Wine error with status 1" 1 1 "1 err:virtual:map_view out of memory"
expect "the start-up message with another status" 3 1 "3 $startup"
expect "a failed start-up, then a pass" 0 2 "1 $startup" "0"
expect "a failed start-up, then the test's own failure" 1 2 "1 $startup" "1 [  FAILED  ] Suite.Case"
expect "two failed start-ups" 1 2 "1 $startup" "1 $startup"

# The arguments reach Wine unchanged, with the error channel of virtual memory opened, and
# the program's output and errors reach the caller.
expect "a failed start-up, then a pass" 0 2 "1 $startup" "0"
[ "$(sed -n 2p "$work/seen")" = "-all,err+virtual|prog.exe|a b|" ] ||
  { echo "wine64 was given: $(sed -n 2p "$work/seen")" >&2; failures=$((failures + 1)); }
[ "$(cat "$work/out")" = "$(printf 'output of call 1\noutput of call 2')" ] ||
  { echo "output: $(cat "$work/out")" >&2; failures=$((failures + 1)); }
grep -q "^$startup\$" "$work/err" ||
  { echo "the start-up error did not reach the caller" >&2; failures=$((failures + 1)); }
[ "$failures" -eq 0 ]
