#!/usr/bin/env bash
# A screenshot of the showcase letter (lists, indents, tab stops, links, raised
# and lowered text, a note, a bordered table with a picture) as a person sees
# it, its window maximised: tools/showcase.sh BUILD_DIR OUT.png
set -u
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
exec "$HERE/screenshot.sh" "$1" "$2" "open:$HERE/../tests/e2e/data/showcase.rtf" "click:445 82" sleep:1
