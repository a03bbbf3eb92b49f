#!/usr/bin/env bash
# scribvale-rtf: a round trip through convert keeps the dump; failures exit 1
# with a message and write nothing.
set -u
TOOL="$1"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen
printf '{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}\\pard\\qc\\f0\\fs30\\cf1\\b Caf\\'"'"'e9\\b0  ok\\par}' > "$WORK/in.rtf"
"$TOOL" convert "$WORK/in.rtf" "$WORK/out.vrx" || { echo "FAIL: convert"; exit 1; }
"$TOOL" dump "$WORK/in.rtf" > "$WORK/a.txt" && "$TOOL" dump "$WORK/out.vrx" > "$WORK/b.txt" \
    || { echo "FAIL: dump"; exit 1; }
diff "$WORK/a.txt" "$WORK/b.txt" || { echo "FAIL: the round trip changed the document"; exit 1; }
grep -q 'paragraph center' "$WORK/a.txt" && grep -q 'Café' "$WORK/a.txt" || { echo "FAIL: dump content"; cat "$WORK/a.txt"; exit 1; }
"$TOOL" convert "$WORK/missing.rtf" "$WORK/never.vrx" 2> "$WORK/err.txt"
[ $? -eq 1 ] && grep -q missing.rtf "$WORK/err.txt" && [ ! -e "$WORK/never.vrx" ] || { echo "FAIL: missing input"; exit 1; }
"$TOOL" 2>/dev/null; [ $? -eq 2 ] || { echo "FAIL: usage"; exit 1; }
echo "PASS"
