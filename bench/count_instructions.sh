#!/bin/bash
# Counts the instructions LoadFile and SaveFile execute on surface_bench's
# letters under Callgrind: the same figure on every run, where wall-clock
# time on a shared machine drifts by half again between runs.
# Usage: bench/count_instructions.sh SURFACE_BENCH [MEGABYTES] [--uniform]
set -euo pipefail
bench=$1; megabytes=${2:-1}; shift $(( $# < 2 ? $# : 2 ))
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for function in LoadFile SaveFile; do
    QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --callgrind-out-file="$out" \
        --toggle-collect="RichTextBox::$function*" "$bench" --letters "$@" "$megabytes" >/dev/null 2>&1
    printf '%-8s %s instructions\n' "$function" \
        "$(callgrind_annotate "$out" | awk '/PROGRAM TOTALS/ {print $1; exit}')"
done
