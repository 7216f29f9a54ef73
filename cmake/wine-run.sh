#!/bin/sh
# Runs a Windows executable under wine64 in the Wine prefix named by WINEPREFIX.
# Debian's wineserver leaves as soon as its last client does, so a test starting at that
# moment is refused ("recvmsg: Connection reset by peer"). Here one server, kept for a
# minute after its last client, serves a whole build or test run. The first run of a
# server also starts Wine's own background processes, which keep the streams they are
# given: they get none of the caller's, or a caller reading a test's output (test
# discovery, ctest) would wait for them to leave. A lock beside the prefix lets one caller
# at a time do this, so that no test starts them with its own streams.
#
# On a loaded machine Wine's start-up now and then finds the address of the shared user data
# taken before the program's first instruction: the process leaves with status 1, having
# printed "err:virtual:virtual_alloc_first_teb wine: failed to map the shared user data:
# c0000018" (only on Wine's error channel of virtual memory, which is opened for it here).
# Exactly that failure is started again, once; any other failure stands. Standard error
# goes through a file to be read afterwards: a pipe would be held open by any background
# process the program starts.
# VELMORA_WINE_DIR names another folder holding wine64 and wineserver (the script's own test).
set -e
wine="${VELMORA_WINE_DIR:-/usr/lib/wine}"
lock="${WINEPREFIX:?}.lock"
{
  flock 9
  # Neither keeps the lock's descriptor, which would hold the lock for the server's life.
  if "$wine/wineserver" -p60 </dev/null >/dev/null 2>&1 9>&-; then
    "$wine/wine64" cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&- || true
  fi
} 9>"$lock"
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
run() {
  WINEDEBUG="${WINEDEBUG:+$WINEDEBUG,}err+virtual" "$wine/wine64" "$@" 2>"$errors" && status=0 || status=$?
  cat "$errors" >&2
}
run "$@"
if [ "$status" -eq 1 ] && grep -q 'virtual_alloc_first_teb wine: failed to map the shared user data' "$errors"; then
  echo "wine-run.sh: Wine could not map the shared user data before the program started; starting it again" >&2
  run "$@"
fi
exit "$status"
