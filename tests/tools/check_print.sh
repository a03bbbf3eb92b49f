#!/usr/bin/env bash
# Printing to PDF as the Print command does: the document's own page size,
# its headers and footers on every page with their page numbers, the cells
# of a table and its picture.
set -u
TOOL="$1"
SOURCE="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
for tool in pdftotext pdfinfo pdfimages; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen
fail() { echo "FAIL: $*"; exit 1; }
# Ligatures (ﬁ, ﬃ) come out as one character: the words checked have none.
page() { pdftotext -layout -f "$2" -l "$2" "$1" - 2>/dev/null; }

"$TOOL" pdf "$SOURCE/tests/interop/corpus/word-headers.rtf" "$WORK/headers.pdf" || fail "printing the letter"
pdfinfo "$WORK/headers.pdf" | grep -q 'Pages: *2' || fail "the letter is not two pages"
pdfinfo "$WORK/headers.pdf" | grep -q 'Page size: *595 x 842' || fail "the letter is not on A4"
page "$WORK/headers.pdf" 1 | grep -q 'Letterhead of the' || fail "no first-page header"
page "$WORK/headers.pdf" 1 | grep -q 'Registered o' || fail "no first-page footer"
page "$WORK/headers.pdf" 2 | grep -q 'Quarterly letter, page 2' || fail "no running header with its page number"
page "$WORK/headers.pdf" 2 | grep -q 'Page 2 of 2' || fail "no running footer with the page count"
page "$WORK/headers.pdf" 2 | grep -q 'Letterhead' && fail "the first page's header on the second"

"$TOOL" pdf "$SOURCE/tests/interop/corpus/lo-page-landscape.rtf" "$WORK/landscape.pdf" || fail "printing landscape"
pdfinfo "$WORK/landscape.pdf" | grep -q 'Page size: *842 x 595' || fail "the landscape page is not landscape"

"$TOOL" pdf "$SOURCE/tests/e2e/data/showcase.rtf" "$WORK/showcase.pdf" || fail "printing the showcase"
for text in Item Price 12.50 'Sub point in letters'; do
    pdftotext "$WORK/showcase.pdf" - | grep -q -- "$text" || fail "the printed showcase lacks $text"
done
[ "$(pdfimages -list "$WORK/showcase.pdf" | tail -n +3 | wc -l)" -ge 1 ] || fail "the printed showcase has no picture"
# A document that keeps no page and no footer prints no page number of its own.
printf '{\\rtf1 Only a line of text.\\par}' > "$WORK/plain.rtf"
"$TOOL" pdf "$WORK/plain.rtf" "$WORK/plain.pdf" || fail "printing a plain document"
[ "$(pdftotext "$WORK/plain.pdf" - | tr -s ' \n\f' ' ' | sed 's/^ //; s/ $//')" = "Only a line of text." ] \
    || fail "the plain document prints more than its text: $(pdftotext "$WORK/plain.pdf" -)"
echo "PASS"
