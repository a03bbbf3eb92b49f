#!/usr/bin/env bash
# Starts the program with the accessibility bus running and finds its
# controls from another process by role and name.
set -u
PROGRAM="$1"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$HERE/atspi_session.sh"

"$PROGRAM" &
APP_PID=$!
wait_for_window '^Scribvale' >/dev/null || { echo "FAIL: no main window"; kill "$APP_PID"; exit 1; }
/usr/bin/python3 "$HERE/find_controls.py"
STATUS=$?
kill "$APP_PID" 2>/dev/null
wait "$APP_PID" 2>/dev/null
exit $STATUS
