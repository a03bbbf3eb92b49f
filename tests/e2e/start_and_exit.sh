#!/usr/bin/env bash
# Starts the built program in a real X server, leaves it through File > Exit
# from the keyboard, and checks that the window placement was stored.
set -u
PROGRAM="$1"
source "$(dirname "${BASH_SOURCE[0]}")/xsession.sh"

"$PROGRAM" &
APP_PID=$!
WIN=$(wait_for_window '^Scribvale') || { echo "FAIL: no main window"; kill "$APP_PID"; exit 1; }
sleep 1
xdotool windowactivate --sync "$WIN" 2>/dev/null || true
xdotool key --window "$WIN" alt+f
sleep 0.5
xdotool key x
for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$APP_PID" 2>/dev/null; then
    echo "FAIL: the program is still running after File > Exit"
    kill "$APP_PID"
    exit 1
fi
INI="$XDG_CONFIG_HOME/Project2/Project2.ini"
for key in MainLeft MainTop MainWidth MainHeight; do
    grep -q "^$key=" "$INI" 2>/dev/null || { echo "FAIL: $key not stored in $INI"; cat "$INI" 2>/dev/null; exit 1; }
done
echo "PASS: started, exited from the File menu, placement stored:"
cat "$INI"
