# Starts a private X server (xsession.sh) with an accessibility bus, so that
# a check can read the program's controls from another process as a screen
# reader does; sourced. Exits 77 (skipped) when the bus is not installed.
[ -x /usr/libexec/at-spi-bus-launcher ] && command -v dbus-launch >/dev/null \
    && /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null \
    || { echo "SKIP: at-spi2-core, dbus-x11 or gir1.2-atspi-2.0 missing"; exit 77; }
source "$(dirname "${BASH_SOURCE[0]}")/xsession.sh"

eval "$(dbus-launch --sh-syntax)"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
ATSPI_BUS_PID=$!
sleep 1
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

atspi_cleanup() {
    kill "$ATSPI_BUS_PID" "$DBUS_SESSION_BUS_PID" 2>/dev/null || true
    xsession_cleanup
}
trap atspi_cleanup EXIT
