# Starts a private X server with a small window manager for one test or
# screenshot; sourced. Sets DISPLAY and a throw-away XDG_CONFIG_HOME, and
# stops both on exit.
for tool in Xvfb xdotool openbox; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

XSESSION_DIR="$(mktemp -d)"
export XDG_CONFIG_HOME="$XSESSION_DIR/config"
export XDG_RUNTIME_DIR="$XSESSION_DIR/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { XDISPLAY=":$n"; break; }
done
Xvfb "$XDISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY="$XDISPLAY"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
WM_PID=$!
sleep 0.5

xsession_cleanup() {
    kill "$WM_PID" "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$XSESSION_DIR"
}
trap xsession_cleanup EXIT

# Waits until a window whose title matches appears; prints its id.
wait_for_window() {
    local id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] && echo "$id"
}
