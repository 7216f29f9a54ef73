#!/bin/sh
# Runs a Windows executable under wine64 in the Wine prefix named by WINEPREFIX. Debian's
# wineserver leaves as soon as its last client does, so a test starting at that moment is
# refused ("recvmsg: Connection reset by peer"); one server kept for a minute after its last
# client serves a whole build or test run. Where a server already runs, the first command
# leaves at once.
/usr/lib/wine/wineserver -p60 2>/dev/null || true
exec /usr/lib/wine/wine64 "$@"
