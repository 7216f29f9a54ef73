#!/bin/sh
# Runs a Windows executable under wine64 in the Wine prefix named by WINEPREFIX.
# Debian's wineserver leaves as soon as its last client does, so a test starting at that
# moment is refused ("recvmsg: Connection reset by peer"). Here one server, kept for a
# minute after its last client, serves a whole build or test run. The first run of a
# server also starts Wine's own background processes, which keep the streams they are
# given: they get none of the caller's, or a caller reading a test's output (test
# discovery, ctest) would wait for them to leave. A lock beside the prefix lets one caller
# at a time do this, so that no test starts them with its own streams.
set -e
lock="${WINEPREFIX:?}.lock"
{
  flock 9
  # Neither keeps the lock's descriptor, which would hold the lock for the server's life.
  if /usr/lib/wine/wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then
    /usr/lib/wine/wine64 cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&- || true
  fi
} 9>"$lock"
exec /usr/lib/wine/wine64 "$@"
