#!/usr/bin/env bash
# Opens and saves every file of the interchange corpus with a tool, then asks
# lo_compare.py, through LibreOffice, which features of the original survived
# and what the save added where the original has none.
#
#   roundtrip_corpus.sh [--families f1,f2,...] [--dir DIR] [--summary] TOOL [ARGS...]
#
# Each file is converted with "TOOL ARGS convert IN OUT". Without --families
# every family is checked; --dir reads the *.rtf of another folder in place.
# Without --summary it prints what each file lost or gained and exits 1 when
# any file lost a checked feature or gained one, unless corpus/lo-misreads.txt
# (LibreOffice misreads the original) or corpus/lo-additions.txt (an addition
# with its reason) lists it. With --summary it prints "family kept/total
# +added" over the whole corpus, and per file what was lost (-) and added (+),
# in counts, listed ones included. Exits 77 when LibreOffice is not installed.
set -u
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
CORPUS="$HERE/corpus"
KNOWN="$CORPUS/lo-misreads.txt"
ADDED="$CORPUS/lo-additions.txt"
FAMILIES=""
SUMMARY=""
while [ $# -gt 0 ]; do
    case "$1" in
        --families) FAMILIES="$2"; shift 2 ;;
        --families=*) FAMILIES="${1#*=}"; shift ;;
        --dir) CORPUS="$2"; shift 2 ;;
        --dir=*) CORPUS="${1#*=}"; shift ;;
        --summary) SUMMARY=1; shift ;;
        *) break ;;
    esac
done
[ $# -ge 1 ] || { echo "usage: $0 [--families f1,f2,...] [--dir DIR] [--summary] TOOL [ARGS...]" >&2; exit 2; }
[ -d "$CORPUS" ] || { echo "SKIP: $CORPUS is absent"; exit 77; }
command -v soffice >/dev/null 2>&1 || { echo "SKIP: LibreOffice is not installed"; exit 77; }
command -v python3 >/dev/null 2>&1 || { echo "SKIP: python3 is not installed"; exit 77; }

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/in" "$WORK/fodt"
export QT_QPA_PLATFORM=offscreen HOME="$WORK"

# Originals and ours side by side in one folder, so links to local files
# resolve alike; then one LibreOffice call for all of them.
names=()
failed=0
for src in "$CORPUS"/*.rtf; do
    name="$(basename "$src" .rtf)"
    cp "$src" "$WORK/in/$name.orig.rtf"
    if ! "$@" convert "$WORK/in/$name.orig.rtf" "$WORK/in/$name.ours.rtf" >"$WORK/$name.log" 2>&1; then
        echo "FAIL $name: the tool could not convert it"
        sed 's/^/    /' "$WORK/$name.log"
        failed=1
        continue
    fi
    names+=("$name")
done
timeout 600 soffice --headless --norestore -env:UserInstallation=file://"$WORK/profile" \
    --convert-to fodt --outdir "$WORK/fodt" "$WORK"/in/*.rtf >/dev/null 2>&1

args=(--known-lost "$KNOWN" --known-added "$ADDED")
[ -n "$FAMILIES" ] && args+=(--families "$FAMILIES")
for name in "${names[@]}"; do
    orig="$WORK/fodt/$name.orig.fodt" ours="$WORK/fodt/$name.ours.fodt"
    if [ ! -s "$orig" ]; then
        echo "SKIP $name: LibreOffice cannot read the original"
        continue
    fi
    if [ -n "$SUMMARY" ]; then
        python3 "$HERE/lo_compare.py" "${args[@]}" --summary "$orig" "$ours" >"$WORK/$name.summary"
        change=$(awk '{ split($2, n, "/"); if (n[1] != n[2]) printf " %s -%d", $1, n[2] - n[1]
                        if ($3 != "+0") printf " %s %s", $1, $3 }' "$WORK/$name.summary")
        printf '%-26s%s\n' "$name" "${change:- nothing lost or added}"
    elif python3 "$HERE/lo_compare.py" "${args[@]}" --name "$name" "$orig" "$ours" >"$WORK/$name.out" 2>&1; then
        if [ -s "$WORK/$name.out" ]; then
            echo "PASS $name (what LibreOffice misreads in the original, or an addition with its reason:" \
                 "see $(basename "$KNOWN"), $(basename "$ADDED"))"
        else
            echo "PASS $name"
        fi
    else
        echo "FAIL $name"
        grep -v ' (listed)$' "$WORK/$name.out" | sed 's/^/    /'
        failed=1
    fi
done

if [ -n "$SUMMARY" ]; then
    echo "== kept/total +added over ${#names[@]} files"
    cat "$WORK"/*.summary | awk '
        { split($2, n, "/"); if (!($1 in kept)) order[++count] = $1
          kept[$1] += n[1]; total[$1] += n[2]; added[$1] += substr($3, 2) }
        END { for (i = 1; i <= count; i++)
                  printf "%-10s %d/%d +%d\n", order[i], kept[order[i]], total[order[i]], added[order[i]] }'
fi
exit $failed
