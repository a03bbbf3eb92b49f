#!/usr/bin/env bash
# Another word processor reads what we write and we read what it writes:
# formatting survives our RTF -> LibreOffice -> DOCX -> RTF -> us, and
# LibreOffice's own RTF loads with its formatting. Skips without LibreOffice.
set -u
TOOL="$(realpath "$1")"
command -v soffice >/dev/null 2>&1 || { echo "SKIP: LibreOffice is not installed"; exit 77; }
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen HOME="$WORK"
cd "$WORK"
lo() { timeout 180 soffice --headless -env:UserInstallation=file://"$WORK"/profile --convert-to "$@" >/dev/null 2>&1; }

printf '{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}{\\f1 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}\\pard\\qc\\f0\\fs40\\cf1\\b Centred red bold\\b0\\par\\pard\\qr\\f1\\fs24\\i Right italic \\u8364? \\u-10179?\\u-8704?\\i0\\par\\pard\\ql\\ul Left underlined\\ulnone\\par}' > src.rtf
"$TOOL" convert src.rtf ours.rtf || { echo "FAIL: convert"; exit 1; }
# The body's paragraphs and runs; LibreOffice adds styles, page setup,
# information and faces for East Asian and right-to-left text of its own,
# which the program keeps but this check leaves out.
body() { "$TOOL" dump "$1" | grep -E '^(paragraph|  run)' | sed 's/ style="[^"]*"//; s/ asian="[^"]*"//; s/ complex="[^"]*"//; s/ lang=[0-9/-]*//'; }
body ours.rtf > expected.txt
lo "docx:MS Word 2007 XML" ours.rtf && mkdir back && lo "rtf:Rich Text Format" --outdir back ours.docx \
    || { echo "FAIL: LibreOffice conversion"; exit 1; }
body back/ours.rtf > actual.txt || { echo "FAIL: reading LibreOffice's RTF"; exit 1; }
diff expected.txt actual.txt || { echo "FAIL: formatting changed on the way through LibreOffice"; exit 1; }

printf '<html><body><p align="center"><font face="Courier New" color="#008000"><b>bold green</b></font></p><p align="right"><i>right</i> <u>under</u> caf\xc3\xa9</p></body></html>' > lo.html
lo "rtf:Rich Text Format" lo.html || { echo "FAIL: LibreOffice conversion"; exit 1; }
"$TOOL" dump lo.rtf > lo.txt
for want in 'paragraph center' 'face="Courier New".*color=#008000 style=b.* text="bold green"' \
            'paragraph right' 'style=i.* text="right"' 'style=u.* text="under"' 'café'; do
    grep -q -- "$want" lo.txt || { echo "FAIL: missing $want"; cat lo.txt; exit 1; }
done
echo "PASS: formatting survives both ways"
