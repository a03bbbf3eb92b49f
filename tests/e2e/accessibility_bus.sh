#!/usr/bin/env bash
# Starts the program with the accessibility bus running and finds its
# controls from another process by role and name.
set -u
PROGRAM="$1"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
[ -x /usr/libexec/at-spi-bus-launcher ] && command -v dbus-launch >/dev/null \
    && /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null \
    || { echo "SKIP: at-spi2-core, dbus-x11 or gir1.2-atspi-2.0 missing"; exit 77; }
source "$HERE/xsession.sh"

eval "$(dbus-launch --sh-syntax)"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
BUS_PID=$!
sleep 1
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$PROGRAM" &
APP_PID=$!
wait_for_window '^Scribvale' >/dev/null || { echo "FAIL: no main window"; kill "$APP_PID" "$BUS_PID" "$DBUS_SESSION_BUS_PID"; exit 1; }
/usr/bin/python3 "$HERE/find_controls.py"
STATUS=$?
kill "$APP_PID" "$BUS_PID" "$DBUS_SESSION_BUS_PID" 2>/dev/null
wait "$APP_PID" 2>/dev/null
exit $STATUS
