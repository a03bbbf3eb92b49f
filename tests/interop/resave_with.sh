#!/usr/bin/env bash
# Opens IN with another word processor and saves it as RTF to OUT, called the
# way roundtrip_corpus.sh calls our tool, so the same figures can be quoted for
# that program:
#   tests/interop/roundtrip_corpus.sh --summary tests/interop/resave_with.sh libreoffice
#   resave_with.sh libreoffice|abiword convert IN OUT
set -eu
[ $# -eq 4 ] && [ "$2" = convert ] || { echo "usage: $0 libreoffice|abiword convert IN OUT" >&2; exit 2; }
program="$1" in="$3" out="$4"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
case "$program" in
    libreoffice)
        soffice --headless --norestore -env:UserInstallation=file://"$work"/profile \
            --convert-to rtf --outdir "$work/out" "$in" >/dev/null 2>&1
        mv "$work/out/$(basename "${in%.*}").rtf" "$out" ;;
    abiword)
        HOME="$work" abiword --to=rtf -o "$out" "$in" >/dev/null 2>&1
        [ -s "$out" ] ;;
    *) echo "unknown program: $program" >&2; exit 2 ;;
esac
