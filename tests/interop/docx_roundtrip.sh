#!/usr/bin/env bash
# The Word corpus (docx/) through the comparison odt_roundtrip.sh makes: each
# .docx is opened and saved as RTF by the tool, LibreOffice reads the original
# and our RTF, and lo_compare.py lists what each family lost.
#
#   docx_roundtrip.sh [--families f1,f2,...] [--summary] [--known FILE] TOOL [ARGS...]
#
# Exits 77 when LibreOffice is not installed.
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
exec bash "$HERE/odt_roundtrip.sh" --corpus "$HERE/docx" docx "$@"
