#!/usr/bin/env bash
# The Debian package checked as a seller's machine would see it.
#   package.sh build <build dir> <work dir>   builds the package into <work dir> and unpacks it
#                                             into <work dir>/root
#   package.sh check <work dir> <source dir>  lintian, the menu entry and the metadata, the file
#                                             list, and the help against the variables the code reads
set -euo pipefail

fail() { echo "package: $*" >&2; exit 1; }

build() {
  local build=$1 work=$2
  rm -rf "$work" && mkdir -p "$work"
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" > "$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
  local debs=("$work"/zerkon_*.deb)
  [ -f "${debs[0]}" ] || fail "no package in $work"
  dpkg-deb -x "${debs[0]}" "$work/root"
}

check() {
  local work=$1 source=$2 deb root id=org.example.zerkon
  deb=$(echo "$work"/zerkon_*.deb)
  root=$work/root
  local failed=0

  # Errors fail; warnings are shown for the reader.
  lintian --fail-on error --tag-display-limit 0 "$deb" || { echo "lintian: errors above"; failed=1; }

  desktop-file-validate "$root/usr/share/applications/$id.desktop" || failed=1
  appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || failed=1
  # The screenshot the metadata names is the one kept in the repository.
  local shot
  shot=$(grep -oE 'screenshots/[^<]+\.png' "$root/usr/share/metainfo/$id.metainfo.xml")
  [ -f "$source/packaging/$shot" ] || { echo "package: the metadata names $shot, not in packaging/"; failed=1; }

  local listing
  listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
  local wanted=(
    ./usr/bin/zerkon ./usr/bin/zerkon-site
    ./usr/lib/zerkon/zerkon ./usr/lib/zerkon/zerkon-site
    ./usr/lib/zerkon/liboptpanel.so ./usr/lib/zerkon/libphotoview.so ./usr/lib/zerkon/libtextplus.so
    ./usr/lib/zerkon/backgroundMain.bmp ./usr/lib/zerkon/here.avi ./usr/lib/zerkon/art
    ./usr/share/zerkon/backgroundMain.bmp ./usr/share/zerkon/here.avi ./usr/share/zerkon/art/MiniBar.png
    ./usr/lib/zerkon/defaults ./usr/share/zerkon/defaults/System.ini ./usr/share/zerkon/defaults/FieldsDefine.ini
    ./usr/share/zerkon/defaults/category.txt
    "./usr/share/applications/$id.desktop" "./usr/share/metainfo/$id.metainfo.xml"
    "./usr/share/icons/hicolor/48x48/apps/$id.png" "./usr/share/icons/hicolor/256x256/apps/$id.png"
    ./usr/share/man/man1/zerkon.1.gz ./usr/share/man/man1/zerkon-site.1.gz
  )
  for path in "${wanted[@]}"; do
    grep -qxF "$path" <<<"$listing" || { echo "package: $path missing from the package"; failed=1; }
  done

  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  for dep in chromium libreoffice-calc ure libqt6widgets6 libsqlite3-0 qt6-translations-l10n fonts-ipafont-gothic; do
    grep -qw "$dep" <<<"$depends" || { echo "package: no dependency on $dep: $depends"; failed=1; }
  done

  # Every variable the program reads (a quoted ZERKON_ name) is one the help and the manual page
  # name; the demo's own are make run's.
  local help manual
  help=$("$root/usr/bin/zerkon" --help)
  manual=$(zcat "$root/usr/share/man/man1/zerkon.1.gz")
  for name in $(grep -rhoE '"ZERKON_[A-Z_]+"' "$source"/{app,platform,workflow,fields,sheet,browser,category,listing,relist,collect} \
                  --include='*.cpp' --include='*.h' | tr -d '"' | grep -v '^ZERKON_DEMO_' | sort -u); do
    grep -qw "$name" <<<"$help" || { echo "package: --help does not name $name"; failed=1; }
    grep -qw "$name" <<<"$manual" || { echo "package: zerkon(1) does not name $name"; failed=1; }
  done
  return $failed
}

case "${1:-}" in
  build) build "$2" "$3" ;;
  check) check "$2" "$3" ;;
  *) fail "usage: package.sh build <build dir> <work dir> | check <work dir> <source dir>" ;;
esac
