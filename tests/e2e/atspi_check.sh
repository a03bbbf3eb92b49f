#!/usr/bin/env bash
# Starts the program in a real X server with the accessibility bus running,
# brings its main window forward and runs one check from another process,
# which drives it with the mouse and keyboard and reads it over the bus:
#   atspi_check.sh PROGRAM CHECK.py [ARGS...]
set -u
PROGRAM="$1"
CHECK="$2"
shift 2
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$HERE/atspi_session.sh"

"$PROGRAM" &
APP_PID=$!
WIN=$(wait_for_window '^Scribvale') || { echo "FAIL: no main window"; kill "$APP_PID"; exit 1; }
sleep 1
xdotool windowactivate --sync "$WIN" 2>/dev/null || true
/usr/bin/python3 "$HERE/$CHECK" "$@"
STATUS=$?
kill "$APP_PID" 2>/dev/null
wait "$APP_PID" 2>/dev/null
exit $STATUS
