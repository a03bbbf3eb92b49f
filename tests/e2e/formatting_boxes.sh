#!/usr/bin/env bash
# Uses the formatting boxes with the mouse and the keyboard in a real X
# server, and reads the document's formatting back over the accessibility
# bus: formatting_boxes.sh PROGRAM typed_face|colour_entry
set -u
PROGRAM="$1"
CHECK="$2"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$HERE/atspi_session.sh"

"$PROGRAM" &
APP_PID=$!
WIN=$(wait_for_window '^Scribvale') || { echo "FAIL: no main window"; kill "$APP_PID"; exit 1; }
sleep 1
xdotool windowactivate --sync "$WIN" 2>/dev/null || true
/usr/bin/python3 "$HERE/formatting_boxes.py" "$CHECK"
STATUS=$?
kill "$APP_PID" 2>/dev/null
wait "$APP_PID" 2>/dev/null
exit $STATUS
