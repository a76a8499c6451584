#!/usr/bin/env bash
# The desktop files pass the desktop's own validators, and an install into a
# fresh prefix puts exactly these files in place.
#   check.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source=$1 build=$2
desktop-file-validate "$source/resources/desktop/org.corvane.Lumeno.desktop"
appstreamcli validate --no-net "$build/resources/org.corvane.Lumeno.metainfo.xml"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
installed=$(cd "$prefix" && find . -type f | sort)
expected=$(printf '%s\n' ./bin/lumeno ./share/applications/org.corvane.Lumeno.desktop \
    ./share/metainfo/org.corvane.Lumeno.metainfo.xml \
    ./share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/org.corvane.Lumeno.png |
    sort)
[ "$installed" = "$expected" ] || { diff <(echo "$expected") <(echo "$installed"); exit 1; }
echo "1 passed, 0 failed"
