#!/usr/bin/env bash
# lo_compare.py against known answers: two corpus files compared with
# themselves keep every feature and add none; compared with their bare text
# (one paragraph left out) they keep the rest of the text and lose their
# lists, notes, bookmarks and hidden text, each named; a copy with a page
# break, keep-with-next and a bold word put in reports exactly those three
# additions, and a list of known additions excuses them one by one. Skips
# without LibreOffice.
set -u
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
command -v soffice >/dev/null 2>&1 || { echo "SKIP: LibreOffice is not installed"; exit 77; }
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export HOME="$WORK"
cd "$WORK"
lo() { timeout 300 soffice --headless --norestore -env:UserInstallation=file://"$WORK"/profile \
           --convert-to fodt "$@" >/dev/null 2>&1; }
compare() { python3 "$HERE/lo_compare.py" "$@"; }
fail() { echo "FAIL: $*"; exit 1; }
expect() {   # OUTPUT LINE...: every line is in the output
    local out="$1" want
    shift
    for want; do grep -qF -- "$want" <<<"$out" || fail "missing: $want"$'\n'"$out"; done
}

cp "$HERE/corpus/word-lists.rtf" "$HERE/corpus/word-notes.rtf" .
lo word-lists.rtf word-notes.rtf || fail "LibreOffice conversion"
# The paragraphs' text as plain RTF, without the fifth paragraph of the notes.
HERE="$HERE" python3 - <<'EOF' || fail "writing the bare text"
import os, sys
sys.path.insert(0, os.environ["HERE"])
from lo_compare import Document

def rtf(text):
    out = []
    for c in text:
        if c == "\t":
            out.append("\\tab ")
        elif c in "\\{}":
            out.append("\\" + c)
        elif ord(c) < 128:
            out.append(c)
        else:
            out.append("\\u%d?" % (ord(c) - 65536 if ord(c) > 32767 else ord(c)))
    return "".join(out)

for name, skip in (("word-lists", None), ("word-notes", 4)):
    paras = [p.text for p in Document.read(name + ".fodt").paras]
    with open(name + "-bare.rtf", "w") as out:
        out.write("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Calibri;}}\n")
        out.writelines("\\pard %s\\par\n" % rtf(t) for i, t in enumerate(paras) if i != skip)
        out.write("}")
EOF
# The lists with a page break before "Pears", "Plums" kept with the next
# paragraph and "ground" made bold.
sed -e '/ Pears\\par }$/s/\\ltrpar\\ql /\\ltrpar\\ql \\pagebb /' \
    -e '/ Plums\\par }$/s/\\ltrpar\\ql /\\ltrpar\\ql \\keepn /' \
    -e 's/ Prepare the ground\\par }/ Prepare the {\\b ground}\\par }/' word-lists.rtf >word-lists-added.rtf
[ "$(grep -c '\\pagebb \|\\keepn \|\\b ground' word-lists-added.rtf)" = 3 ] || fail "the additions were not put in"
lo word-lists-bare.rtf word-notes-bare.rtf word-lists-added.rtf || fail "LibreOffice conversion"

for name in word-lists word-notes; do
    out=$(compare $name.fodt $name.fodt) || fail "$name against itself lost: $out"
done
compare --families text word-lists.fodt word-lists-bare.fodt >/dev/null || fail "the text of the lists was lost"
out=$(compare --families lists word-lists.fodt word-lists-bare.fodt) && fail "bare lists passed"
expect "$out" 'lists: paragraph 2 "Apples": not in a list (was bullet • level 0)' \
    'lists: paragraph 4 "Conference pears": not in a list (was bullet o level 1)' \
    'lists: paragraph 10 "Dig the holes": not in a list (was decimal 1 level 1)' \
    'lists: paragraph 16 "beta item": not in a list (was lower-letter 2 level 0)' \
    'lists: paragraph 19 "Chapter two": not in a list (was upper-roman 2 level 0)' \
    'lists: paragraph 21 "Fifth point": not in a list (was decimal 5 level 0)' \
    'lists: paragraph 27 "Third step, still numbered three": not in a list (was decimal 3 level 0)'
out=$(compare word-notes.fodt word-notes-bare.fodt) && fail "bare notes passed"
expect "$out" 'text: paragraph 5 "Jump mark in the middle.": text lost or changed' \
    'notes: paragraph 1 "The claim needs a source. A se…": footnote "Measured in March." lost' \
    'notes: paragraph 3 "A remark for the end of the do…": endnote "An endnote with more detail." lost' \
    'notes: paragraph 4 "Reviewers can comment on a fig…": comment "Please check this figure." lost' \
    'bookmarks: paragraph 1 "The claim needs a source. A se…": bookmark "intro" lost' \
    'hidden: paragraph 6 "Visible words together.": hidden text "and hidden words" → ""'
[ "$(compare --summary --families text,bookmarks word-notes.fodt word-notes-bare.fodt)" = \
  "$(printf 'text       5/6 +0\nbookmarks  0/2 +0')" ] || fail "summary counts"

out=$(compare word-lists.fodt word-lists-added.fodt) && fail "additions passed"
[ "$out" = '+para: paragraph 3 "Pears": break before page
+para: paragraph 6 "Plums": keep with next on
+chars: paragraph 8 "Prepare the ground": bold on "ground"' ] || fail "additions:"$'\n'"$out"
[ "$(compare --summary --families para,chars,lists word-lists.fodt word-lists-added.fodt)" = \
  "$(printf 'para       124/124 +2\nlists      20/20 +0\nchars      2/2 +1')" ] || fail "summary counts of additions"
printf '# known\nword-lists\t+para: paragraph 3 "Pears": break\treason\nword-lists\t+para: paragraph 6\treason\n' >known
compare --known-added known word-lists.fodt word-lists-added.fodt >/dev/null && fail "a third addition passed"
printf 'word-lists\t+chars: paragraph 8\treason\nother\t+para\n' >>known
out=$(compare --known-added known word-lists.fodt word-lists-added.fodt) || fail "listed additions failed: $out"
expect "$out" '+para: paragraph 3 "Pears": break before page (listed)'
echo "PASS: lo_compare keeps what survives, names what is lost and what is added"
