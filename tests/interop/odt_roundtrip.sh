#!/usr/bin/env bash
# Opens every OpenDocument text of the corpus (odt/) with a tool, saves it as
# RTF, and asks lo_compare.py, through LibreOffice, which features of the
# original survived: LibreOffice reads the original and our RTF alike.
#
#   odt_roundtrip.sh [--corpus DIR EXT] [--families f1,f2,...] [--summary] [--known FILE] TOOL [ARGS...]
#
# --corpus takes the files DIR/*.EXT instead (docx_roundtrip.sh: the .docx).
# Each file is converted with "TOOL ARGS convert IN OUT.rtf". Without
# --summary it prints what each file lost and exits 1 when any file lost a
# checked feature not listed in FILE (lines "name<TAB>text of the loss", the
# reason after a second tab); with --summary it prints "family kept/total"
# over the corpus. Exits 77 when LibreOffice is not installed.
set -u
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
CORPUS="$HERE/odt"
EXT=odt
FAMILIES=""
SUMMARY=""
KNOWN=""
while [ $# -gt 0 ]; do
    case "$1" in
        --corpus) CORPUS="$2"; EXT="$3"; shift 3 ;;
        --families) FAMILIES="$2"; shift 2 ;;
        --summary) SUMMARY=1; shift ;;
        --known) KNOWN="$2"; shift 2 ;;
        *) break ;;
    esac
done
[ $# -ge 1 ] || { echo "usage: $0 [--families f1,f2,...] [--summary] [--known FILE] TOOL [ARGS...]" >&2; exit 2; }
command -v soffice >/dev/null 2>&1 || { echo "SKIP: LibreOffice is not installed"; exit 77; }
command -v python3 >/dev/null 2>&1 || { echo "SKIP: python3 is not installed"; exit 77; }

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/in" "$WORK/fodt"
export QT_QPA_PLATFORM=offscreen HOME="$WORK"

names=()
failed=0
for src in "$CORPUS"/*."$EXT"; do
    name="$(basename "$src" ."$EXT")"
    cp "$src" "$WORK/in/$name.orig.$EXT"
    if ! "$@" convert "$WORK/in/$name.orig.$EXT" "$WORK/in/$name.ours.rtf" >"$WORK/$name.log" 2>&1; then
        echo "FAIL $name: the tool could not convert it"
        sed 's/^/    /' "$WORK/$name.log"
        failed=1
        continue
    fi
    names+=("$name")
done
timeout 900 soffice --headless --norestore -env:UserInstallation=file://"$WORK/profile" \
    --convert-to fodt --outdir "$WORK/fodt" "$WORK"/in/*."$EXT" "$WORK"/in/*.rtf >/dev/null 2>&1

args=()
[ -n "$FAMILIES" ] && args+=(--families "$FAMILIES")
for name in "${names[@]}"; do
    if [ -n "$SUMMARY" ]; then
        python3 "$HERE/lo_compare.py" "${args[@]}" --summary \
            "$WORK/fodt/$name.orig.fodt" "$WORK/fodt/$name.ours.fodt" >"$WORK/$name.summary"
        lost=$(awk '{ split($2, n, "/"); if (n[1] != n[2]) printf " %s -%d", $1, n[2] - n[1] }' "$WORK/$name.summary")
        printf '%-28s%s\n' "$name" "${lost:- nothing lost}"
    elif python3 "$HERE/lo_compare.py" "${args[@]}" \
            "$WORK/fodt/$name.orig.fodt" "$WORK/fodt/$name.ours.fodt" >"$WORK/$name.out" 2>&1; then
        echo "PASS $name"
    else
        : >"$WORK/$name.known"
        [ -n "$KNOWN" ] && awk -F'\t' -v n="$name" '$1 == n { print $2 }' "$KNOWN" >"$WORK/$name.known"
        if [ -s "$WORK/$name.known" ]; then
            grep -v -F -f "$WORK/$name.known" "$WORK/$name.out" >"$WORK/$name.rest"
        else
            cp "$WORK/$name.out" "$WORK/$name.rest"
        fi
        if [ -s "$WORK/$name.rest" ]; then
            echo "FAIL $name"
            sed 's/^/    /' "$WORK/$name.rest"
            failed=1
        else
            echo "PASS $name (with known differences: see $(basename "$KNOWN"))"
        fi
    fi
done

if [ -n "$SUMMARY" ]; then
    echo "== kept/total over ${#names[@]} files"
    cat "$WORK"/*.summary | awk '
        { split($2, n, "/"); if (!($1 in kept)) order[++count] = $1; kept[$1] += n[1]; total[$1] += n[2] }
        END { for (i = 1; i <= count; i++) printf "%-10s %d/%d\n", order[i], kept[order[i]], total[order[i]] }'
fi
exit $failed
