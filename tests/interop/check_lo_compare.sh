#!/usr/bin/env bash
# lo_compare.py against known answers: two corpus files compared with
# themselves keep every feature; compared with their bare text (one paragraph
# left out) they keep the rest of the text and lose their lists, notes,
# bookmarks and hidden text, each named. Skips without LibreOffice.
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
lo word-lists-bare.rtf word-notes-bare.rtf || fail "LibreOffice conversion"

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
  "$(printf 'text       5/6\nbookmarks  0/2')" ] || fail "summary counts"
echo "PASS: lo_compare keeps what survives and names what is lost"
