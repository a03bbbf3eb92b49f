#!/usr/bin/env bash
# Writes the OpenDocument corpus: .odt and flat .fodt files as other programs
# write them, the same content as the RTF interchange corpus.
#
#   lo-*, word-*, abiword-*, pandoc-*, richedit-*  .odt and .fodt: LibreOffice's
#       headless conversion of ../corpus/*.rtf (the content in three formats)
#   lo-src-*.odt     LibreOffice's .odt of the hand-written flat files in
#       ../corpus/src/ (its own feature set, before any RTF round trip)
#   pandoc-md-*.odt, pandoc-html-*.odt   pandoc's conversion of the Markdown
#       and HTML sources in ../corpus/src/
#
# Usage: generate.sh          (needs soffice and pandoc; the outputs are
# committed, so the tests never need these programs)
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
CORPUS="$HERE/../corpus"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export HOME="$WORK"

lo() {
    timeout 600 soffice --headless --norestore -env:UserInstallation=file://"$WORK/profile" "$@" \
        >/dev/null 2>&1
}

rm -f "$HERE"/*.odt "$HERE"/*.fodt

# One call per output kind for all inputs.
lo --convert-to odt --outdir "$HERE" "$CORPUS"/*.rtf
lo --convert-to fodt --outdir "$HERE" "$CORPUS"/*.rtf

mkdir -p "$WORK/src"
for f in "$CORPUS"/src/*.fodt; do
    cp "$f" "$WORK/src/lo-src-$(basename "$f" .fodt | sed 's/^lo-//').fodt"
done
lo --convert-to odt --outdir "$HERE" "$WORK"/src/*.fodt

# pandoc: from the Markdown and HTML sources, pictures resolved beside them.
cd "$CORPUS/src"
for f in *.md; do
    pandoc -s -o "$HERE/pandoc-md-$(basename "$f" .md | sed 's/^pandoc-//').odt" "$f"
done
for f in *.html; do
    pandoc -s -o "$HERE/pandoc-html-$(basename "$f" .html | sed 's/^abiword-//').odt" "$f"
done
ls "$HERE" | grep -c -E '\.f?odt$'
