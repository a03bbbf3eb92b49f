#!/usr/bin/env bash
# A document of another word processor (.odt, .docx) opened through the Open
# dialog's "All Files" entry, then File Save: the Save dialog must appear and
# the original stay byte for byte as it was. A picture opened the same way is
# refused with a warning.
#   open_other_format.sh PROGRAM DOCUMENT [SHOTS_DIR]
# With SHOTS_DIR, screenshots of each step are left there.
set -u
PROGRAM="$1"; ODT="$2"; SHOTS="${3:-}"
source "$(dirname "${BASH_SOURCE[0]}")/xsession.sh"
WORK="$XSESSION_DIR/files"
mkdir -p "$WORK"
NAME="letter.${ODT##*.}"
cp "$ODT" "$WORK/$NAME"
printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0' >"$WORK/holiday.png"
shot() { [ -n "$SHOTS" ] && import -window root "$SHOTS/$1.png"; return 0; }
fail() { echo "FAIL: $*"; shot failure; kill "$APP_PID" 2>/dev/null; exit 1; }

"$PROGRAM" &
APP_PID=$!
WIN=$(wait_for_window '^Scribvale') || fail "no main window"
sleep 1
xdotool windowactivate --sync "$WIN" 2>/dev/null || true

# Open: the type box to its last entry, All Files, then the folder and the file.
xdotool key ctrl+o
wait_for_window '^Open$' >/dev/null || fail "no Open dialog"
sleep 0.5
xdotool key Tab End shift+Tab
xdotool type --delay 10 "$WORK/"; xdotool key Return; sleep 0.8
shot open-dialog-all-files
xdotool type --delay 10 "$NAME"; xdotool key Return; sleep 1.5
xdotool search --onlyvisible --name '^Open$' >/dev/null 2>&1 && fail "$NAME was not opened"
shot open-document

# Save: the dialog, proposing RTF beside it; cancelled, and nothing written.
xdotool key alt+f; sleep 0.5; xdotool key s
wait_for_window '^Save$' >/dev/null || fail "Save did not ask where"
sleep 0.5
shot save-dialog
xdotool key Escape; sleep 0.5
cmp "$ODT" "$WORK/$NAME" || fail "$NAME was changed"
[ -e "$WORK/letter.rtf" ] && fail "a cancelled Save wrote letter.rtf"

# A picture: refused with a warning.
xdotool key ctrl+o
wait_for_window '^Open$' >/dev/null || fail "no Open dialog"
sleep 0.5
xdotool type --delay 10 "$WORK/holiday.png"; xdotool key Return; sleep 1.5
wait_for_window '^Open$' >/dev/null || fail "the picture was not refused"
shot open-png
xdotool key Return; sleep 0.3
cmp "$ODT" "$WORK/$NAME" || fail "$NAME was changed"
kill "$APP_PID" 2>/dev/null
wait "$APP_PID" 2>/dev/null
echo "PASS"
