#!/usr/bin/env bash
# Starts the program under Xvfb, optionally types keys into it, and saves a
# screenshot: tools/screenshot.sh BUILD_DIR OUT.png [step ...]
# Steps: an xdotool key ("ctrl+a"), "type:TEXT", "click:X Y", "sleep:SECONDS",
# "open:FILE" (File Open with the file typed into the dialog).
set -u
BUILD="$1"; OUT="$2"; shift 2
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/xsession.sh"
"$BUILD/scribvale" &
APP_PID=$!
WIN=$(wait_for_window '^Scribvale') || { echo "no window"; kill "$APP_PID"; exit 1; }
sleep 1.5
xdotool windowactivate --sync "$WIN" 2>/dev/null || true
for step in "$@"; do
    case "$step" in
        sleep:*) sleep "${step#sleep:}" ;;
        type:*) xdotool type --delay 20 "${step#type:}" ;;
        open:*)   # File Open, the file's path into the dialog, Enter
            xdotool key ctrl+o; sleep 1.5
            xdotool type --delay 10 "$(realpath "${step#open:}")"; sleep 0.3
            xdotool key Return; sleep 1.5 ;;
        click:*) read -r X Y <<<"${step#click:}"; xdotool mousemove "$X" "$Y" click 1 ;;
        *) xdotool key $step ;;
    esac
    sleep 0.3
done
sleep 0.5
import -window root "$OUT"
kill "$APP_PID" 2>/dev/null
wait "$APP_PID" 2>/dev/null
echo "saved $OUT"
