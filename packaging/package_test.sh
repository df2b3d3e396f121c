#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks what a user would get from it:
#   package_test.sh <build dir>
# its file list and dependencies, the desktop files validated where they are installed, the
# picture type known to the MIME database, and the program started from the unpacked files.
set -euo pipefail
build=$1
id=org.lumigrid.Lumigrid
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --build "$build" --target package >"$build/package_test.log" 2>&1 ||
  { tail -20 "$build/package_test.log"; fail "the package does not build"; }
deb="$build/lumigrid_3.8-1_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb"

listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
expected=(
  ./usr/bin/lumigrid
  ./usr/share/applications/$id.desktop
  ./usr/share/mime/packages/$id.xml
  ./usr/share/metainfo/$id.metainfo.xml
  ./usr/share/icons/hicolor/scalable/apps/$id.svg
  ./usr/share/lumigrid/players/frame_player.h
  ./usr/share/lumigrid/players/frame_player.c
  ./usr/share/lumigrid/players/frame_player.inc
  ./usr/share/doc/lumigrid/README.md
  ./usr/share/doc/lumigrid/docs/frame_scripts.md
)
for size in 16 32 48 64 128 256; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
cli=$(find "$build/src" -maxdepth 2 -name lumigrid-cli -type f -perm -u+x | head -1)
[ -n "$cli" ] && expected+=(./usr/bin/lumigrid-cli)
for path in "${expected[@]}"; do
  grep -qxF "$path" <<<"$listing" || fail "$path is not in the package"
done
! grep -q lumigrid_screenshot <<<"$listing" || fail "the screenshot tool is packaged"

depends=$(dpkg-deb -f "$deb" Depends)
for dep in libc6 libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n libgif7 libpng16 libjpeg; do
  grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
share=$root/usr/share

desktop-file-validate "$share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" || fail "metainfo"

for size in 16 32 48 64 128 256; do
  file "$share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "PNG image data, $size x $size" ||
    fail "the ${size}x${size} icon is not a $size x $size PNG"
done
xmllint --noout "$share/icons/hicolor/scalable/apps/$id.svg" || fail "the SVG icon"

# The picture type: a *.chr glob of low weight once the MIME database is built.
update-mime-database "$share/mime" || fail "the MIME database rejects the type"
grep -qxF "10:application/x-lumigrid-picture:*.chr" "$share/mime/globs2" ||
  fail "no low-weight *.chr glob in $(cat "$share/mime/globs2")"

# The unpacked program starts (its libraries and plugins are found) and stays running
# until stopped.
# Its settings go to the temporary folder, here the scratch root.
export QT_QPA_PLATFORM=offscreen TMPDIR=$root
status=0
timeout 5 "$root/usr/bin/lumigrid" >"$root/out.txt" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$root/out.txt"; fail "lumigrid ended with $status"; }
if [ -x "$root/usr/bin/lumigrid-cli" ]; then
  "$root/usr/bin/lumigrid-cli" --version | grep -q "3.8" || fail "lumigrid-cli --version"
  # The table's comment points at the players the package installed.
  head -c 1024 /dev/zero >"$root/blank.chr"
  folder=$("$root/usr/bin/lumigrid-cli" frames --format c "$root/blank.chr" |
    grep -o '/usr/share/lumigrid/players/')
  [ -f "$root$folder/frame_player.c" ] || fail "the table names no installed player folder"
fi
echo "package ok: $deb"
