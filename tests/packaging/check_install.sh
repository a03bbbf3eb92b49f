#!/usr/bin/env bash
# Install a configured and built Scribvale build tree into a temporary
# DESTDIR and check what a desktop needs from it: the program, a valid
# desktop entry, valid AppStream metadata that points at that entry, and the
# program icon at each hicolor size, each of the size its folder names.
#
# Usage: tests/packaging/check_install.sh BUILD_DIR
# Exit: 0 all good, 1 a check failed, 2 bad usage, 77 a validator is missing
# (desktop-file-validate from desktop-file-utils, appstreamcli from appstream).
set -u

build=${1:-}
if [[ -z $build || ! -d $build ]]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi

for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool not installed" >&2
        exit 77
    fi
done

app_id=io.github.scribvale.Scribvale
prefix=/usr
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

if ! DESTDIR=$dest cmake --install "$build" --prefix "$prefix" >"$dest.log" 2>&1; then
    cat "$dest.log"
    rm -f "$dest.log"
    echo "FAIL: cmake --install"
    exit 1
fi
rm -f "$dest.log"
root=$dest$prefix

# The program
if [[ -x $root/bin/scribvale ]]; then pass "bin/scribvale"; else fail "bin/scribvale missing or not executable"; fi

# Desktop entry
desktop=$root/share/applications/$app_id.desktop
if [[ ! -f $desktop ]]; then
    fail "share/applications/$app_id.desktop missing"
else
    if out=$(desktop-file-validate "$desktop" 2>&1) && [[ -z $out ]]; then
        pass "desktop-file-validate"
    else
        fail "desktop-file-validate: $out"
    fi
    exec_line=$(sed -n 's/^Exec=//p' "$desktop")
    exec_bin=${exec_line%% *}
    if [[ -x $root/bin/$exec_bin ]]; then pass "Exec=$exec_line runs an installed program"
    else fail "Exec=$exec_line: no bin/$exec_bin installed"; fi
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [[ -n $icon ]] || fail "desktop entry has no Icon="
fi

# AppStream metadata
metainfo=$root/share/metainfo/$app_id.metainfo.xml
if [[ ! -f $metainfo ]]; then
    fail "share/metainfo/$app_id.metainfo.xml missing"
else
    if out=$(appstreamcli validate --no-net "$metainfo" 2>&1); then
        pass "appstreamcli validate --no-net"
    else
        fail "appstreamcli validate: $out"
    fi
    if grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo"; then
        pass "metainfo launches $app_id.desktop"
    else
        fail "metainfo has no launchable naming $app_id.desktop"
    fi
    if grep -q "<id>$app_id</id>" "$metainfo"; then pass "metainfo id $app_id"
    else fail "metainfo id is not $app_id"; fi
fi

# Icons: every size present, named as the desktop entry's Icon=, and really
# of the size its folder says (read from the PNG header).
icon=${icon:-scribvale}
hicolor=$root/share/icons/hicolor
for n in 16 32 48; do
    png=$hicolor/${n}x${n}/apps/$icon.png
    if [[ ! -f $png ]]; then
        fail "icons/hicolor/${n}x${n}/apps/$icon.png missing"
        continue
    fi
    sig=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
    read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$png")
    if [[ $sig != 89504e470d0a1a0a ]]; then
        fail "$png is not a PNG"
    elif [[ $w != "$n" || $h != "$n" ]]; then
        fail "$png is ${w}x${h}, expected ${n}x${n}"
    else
        pass "hicolor ${n}x${n} icon"
    fi
done
svg=$hicolor/scalable/apps/$icon.svg
if [[ -f $svg ]] && grep -q '<svg[^>]*viewBox=' "$svg"; then
    pass "hicolor scalable icon"
else
    fail "icons/hicolor/scalable/apps/$icon.svg missing or without a viewBox"
fi

# The tree as a whole: metainfo, desktop entry and icon found together.
if out=$(appstreamcli validate-tree --no-net "$dest$prefix" 2>&1); then
    pass "appstreamcli validate-tree"
else
    fail "appstreamcli validate-tree: $out"
fi

if ((failures)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all install checks passed"
