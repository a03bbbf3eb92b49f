#!/usr/bin/env bash
# Writes the Word (.docx) corpus: the same content as the RTF interchange
# corpus, as other programs write it.
#
#   lo-*, word-*, abiword-*, pandoc-*, richedit-*  LibreOffice's headless
#       conversion of ../corpus/*.rtf (the content in three formats)
#   pandoc-html-*, pandoc-md-*   pandoc's conversion of the HTML and Markdown
#       sources in ../corpus/src/
#   pydocx-*         python-docx documents (Word's default template), from
#       python_docx.py
#
# Usage: generate.sh          (needs soffice, pandoc and python3-docx; the
# outputs are committed, so the tests never need these programs)
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
CORPUS="$HERE/../corpus"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export HOME="$WORK"

rm -f "$HERE"/*.docx
timeout 600 soffice --headless --norestore -env:UserInstallation=file://"$WORK/profile" \
    --convert-to 'docx:MS Word 2007 XML' --outdir "$HERE" "$CORPUS"/*.rtf >/dev/null 2>&1

cd "$CORPUS/src"
for f in *.md; do
    pandoc -s -o "$HERE/pandoc-md-$(basename "$f" .md | sed 's/^pandoc-//').docx" "$f"
done
for f in *.html; do
    pandoc -s -o "$HERE/pandoc-html-$(basename "$f" .html | sed 's/^abiword-//').docx" "$f"
done
/usr/bin/python3 "$HERE/python_docx.py" "$HERE"
ls "$HERE" | grep -c '\.docx$'
