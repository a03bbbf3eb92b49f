#!/usr/bin/env bash
# Types into Document 1, clicks its close box and answers the question that
# comes up, found over the accessibility bus.
set -u
PROGRAM="$1"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$HERE/atspi_session.sh"

"$PROGRAM" &
APP_PID=$!
WIN=$(wait_for_window '^Scribvale') || { echo "FAIL: no main window"; kill "$APP_PID"; exit 1; }
sleep 1
xdotool windowactivate --sync "$WIN" 2>/dev/null || true
/usr/bin/python3 "$HERE/close_question.py"
STATUS=$?
kill "$APP_PID" 2>/dev/null
wait "$APP_PID" 2>/dev/null
exit $STATUS
