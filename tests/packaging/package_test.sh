#!/usr/bin/env bash
# Checks what a person's machine receives from us: the files that `cmake --install` puts in
# place, the verdict of the freedesktop and AppStream validators on them, and the .deb.
set -euo pipefail
id=org.nodalis.Nodalis version=1.45.0.0 sizes="16 24 32 48 64 128 256"
desktop=usr/share/applications/$id.desktop metainfo=usr/share/metainfo/$id.metainfo.xml
mime=usr/share/mime/packages/$id.xml type=application/x-nodalis-reading
icons=usr/share/icons/hicolor maintainer="Nodalis Developers <dev@nodalis.org>"
fail() { echo "FAIL: $*" >&2; exit 1; }

expected_files() {
    {
        printf '%s\n' usr/bin/nodalis "$desktop" "$metainfo" "$mime" "$icons/scalable/apps/$id.svg" \
            usr/share/man/man1/nodalis.1.gz usr/share/doc/nodalis/{changelog.gz,copyright}
        for size in $sizes; do echo "$icons/${size}x$size/apps/$id.png"; done
    } | LC_ALL=C sort
}

case "${1:-}" in
installed)
    rm -rf "$3"
    DESTDIR=$3 cmake --install "$2" --prefix /usr >/dev/null
    cd "$3"
    diff <(expected_files) <(find . -type f -printf '%P\n' | LC_ALL=C sort) ||
        fail "the installed files differ from the list (< expected, > installed)"
    for size in $sizes; do
        png=$(file -b "$icons/${size}x$size/apps/$id.png")
        [[ $png == "PNG image data, $size x $size,"* ]] || fail "the $size pixel icon is $png"
    done
    # How the menu finds the program and its icon, and file managers open reading files with it.
    grep -qx "Exec=nodalis %f" "$desktop" && grep -qx "Icon=$id" "$desktop" &&
        grep -qx "MimeType=$type;" "$desktop" || fail "Exec, Icon or MimeType"
    grep -q "<release version=\"$version\"" "$metainfo" || fail "no release $version in $metainfo"
    grep -q "<mediatype>$type</mediatype>" "$metainfo" || fail "$metainfo provides no $type"
    ;;
validated)
    # desktop-file-validate passes entries with warnings and hints: it must find nothing at all.
    report=$(desktop-file-validate "$2/$desktop" 2>&1) && [ -z "$report" ] || fail "$report"
    # appstreamcli fails on errors and warnings; the tree check covers the metainfo and menu entry.
    appstreamcli validate-tree --no-net "$2"
    # The type database built from the installed MIME file knows reading files by their name.
    database=$(mktemp -d) && cp -r "$2/usr/share/mime/packages" "$database"
    update-mime-database "$database" && grep -qx "50:$type:\*.nrd" "$database/globs2" &&
        rm -r "$database" || fail "no $type for *.nrd in $database/globs2"
    ;;
deb)
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cpack -G DEB --config "$2/CPackConfig.cmake" -B "$work" >/dev/null
    deb=$work/nodalis_${version}_$(dpkg --print-architecture).deb
    fields=$(dpkg-deb -f "$deb" Package Version Maintainer | paste -sd ';')
    [ "$fields" = "Package: nodalis;Version: $version;Maintainer: $maintainer" ] || fail "$fields"
    [ "$(dpkg-deb -f "$deb" Description | wc -l)" -ge 3 ] || fail "no long description"
    # The Qt libraries come from dpkg-shlibdeps, the rest are loaded at run time.
    depends=" $(dpkg-deb -f "$deb" Depends | sed 's/ ([^)]*)//g; s/,//g') "
    for package in libqt6widgets6 libqt6printsupport6 \
        fonts-dejavu-core hicolor-icon-theme; do
        [[ $depends == *" $package "* ]] || fail "Depends lacks $package:$depends"
    done
    # apt installs these: the Wayland plugin, and the triggers that register reading files.
    recommends=$(dpkg-deb -f "$deb" Recommends)
    for package in qt6-wayland shared-mime-info desktop-file-utils; do
        [[ $recommends == *"$package"* ]] || fail "Recommends lacks $package: $recommends"
    done
    # The package gives every file to root, with its mode.
    contents=$(dpkg-deb -c "$deb")
    awk '$2 != "root/root" || /^-/ && $1 != ($6 ~ /bin/ ? "-rwxr-xr-x" : "-rw-r--r--") { exit 1 }' \
        <<<"$contents" || fail "owners or permissions: $contents"
    ;;
*) fail "usage: $0 installed BUILD_DIR STAGE_DIR | validated STAGE_DIR | deb BUILD_DIR" ;;
esac
