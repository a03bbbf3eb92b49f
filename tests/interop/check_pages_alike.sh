#!/usr/bin/env bash
# pages_alike.py against known answers, with a stand-in tool that changes each
# file in a known way: an unchanged copy is alike; a time of day or a symbol
# bullet written another way is alike; a page break put in is not, and is
# named; a listed file may differ; the figures count files and pages. Skips
# without LibreOffice or pdftotext.
set -u
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
command -v soffice >/dev/null 2>&1 || { echo "SKIP: LibreOffice is not installed"; exit 77; }
command -v pdftotext >/dev/null 2>&1 || { echo "SKIP: pdftotext is not installed"; exit 77; }
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
mkdir "$WORK/in"
head='{\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}}'
printf '%s\\pard One.\\par\\pard Two.\\par}' "$head" >"$WORK/in/copy.rtf"
printf '%s\\pard Saved at 10:15.\\par\\pard{\\f1\\'"'"'b7}\\tab Item\\par}' "$head" >"$WORK/in/volatile.rtf"
printf '%s\\pard One.\\par\\pard Two.\\par}' "$head" >"$WORK/in/broken.rtf"
printf '%s\\pard One.\\par\\pard Two.\\par}' "$head" >"$WORK/in/listed.rtf"
# The stand-in tool: "convert IN OUT", a change by the file's name.
cat >"$WORK/tool" <<'TOOL'
#!/usr/bin/env bash
case "$(basename "$2")" in
    volatile.*) sed -e 's/10:15/23:59/' -e 's/{\\f1\\'"'"'b7}/\\u8226?/' "$2" >"$3" ;;
    broken.*|listed.*) sed 's/\\pard Two/\\pard\\page Two/' "$2" >"$3" ;;
    *) cp "$2" "$3" ;;
esac
TOOL
chmod +x "$WORK/tool"
printf '# known\nlisted\tthe tool puts a page break in\n' >"$WORK/unlike.txt"

out=$(python3 "$HERE/pages_alike.py" --dir "$WORK/in" --unlike "$WORK/unlike.txt" "$WORK/tool") \
    && fail "a page break put in passed"$'\n'"$out"
want='FAIL broken
    pages 1 → 2
    page 1, word 2: "Two." → ""
ALIKE copy (1 pages)
UNLIKE listed, listed: the tool puts a page break in
    pages 1 → 2
    page 1, word 2: "Two." → ""
ALIKE volatile (1 pages)
== files alike: 2/4
== pages alike: 2/6'
[ "$out" = "$want" ] || fail "output"$'\n'"$out"$'\n'"wanted"$'\n'"$want"
rm "$WORK/in/broken.rtf"
python3 "$HERE/pages_alike.py" --quiet --dir "$WORK/in" --unlike "$WORK/unlike.txt" "$WORK/tool" >/dev/null \
    || fail "a listed file failed"
echo "PASS: pages_alike tells pages alike from pages that differ"
