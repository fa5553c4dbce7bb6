#!/usr/bin/env bash
# Checks what a person's machine receives from us: the files that `cmake --install` puts in
# place, the verdict of the freedesktop and AppStream validators on them, and the .deb.
#   package_test.sh installed BUILD_DIR STAGE_DIR   install under STAGE_DIR and check every file
#   package_test.sh validated STAGE_DIR             validate the installed menu entry and metainfo
#   package_test.sh deb BUILD_DIR                   build the .deb with CPack and check it
set -euo pipefail

app_id=org.nodalis.Nodalis
version=1.45.0.0
maintainer="Nodalis Developers <dev@nodalis.org>"
icon_sizes=(16 24 32 48 64 128 256)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Every file of an installation with the /usr prefix, relative to the root, in C order.
expected_files() {
    {
        echo usr/bin/nodalis
        echo "usr/share/applications/$app_id.desktop"
        echo usr/share/doc/nodalis/changelog.gz
        echo usr/share/doc/nodalis/copyright
        echo usr/share/man/man1/nodalis.1.gz
        for size in "${icon_sizes[@]}"; do
            echo "usr/share/icons/hicolor/${size}x$size/apps/$app_id.png"
        done
        echo "usr/share/icons/hicolor/scalable/apps/$app_id.svg"
        echo "usr/share/metainfo/$app_id.metainfo.xml"
    } | LC_ALL=C sort
}

# Prints WIDTHxHEIGHT of the PNG file $1 from its header; fails for anything else.
png_size() {
    [ "$(od -An -tx1 -N8 "$1" | tr -d ' \n')" = 89504e470d0a1a0a ] || return 1
    local width height
    width=$(od -An -tu4 --endian=big -j16 -N4 "$1" | tr -d ' ')
    height=$(od -An -tu4 --endian=big -j20 -N4 "$1" | tr -d ' ')
    echo "${width}x$height"
}

desktop_key() { sed -n "s/^$1=//p" "$2"; }

check_installed() {
    local build=$1 stage=$2
    rm -rf "$stage"
    DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null ||
        fail "cmake --install failed"

    diff <(expected_files) <(cd "$stage" && find . -type f -printf '%P\n' | LC_ALL=C sort) ||
        fail "the installed files differ from the list above (< expected, > installed)"

    [ -x "$stage/usr/bin/nodalis" ] || fail "usr/bin/nodalis is not executable"
    for size in "${icon_sizes[@]}"; do
        local png=$stage/usr/share/icons/hicolor/${size}x$size/apps/$app_id.png
        [ "$(png_size "$png")" = "${size}x$size" ] ||
            fail "$png is $(png_size "$png" || echo "no PNG"), not ${size}x$size pixels"
    done

    # The menu finds the program and its icon by these names.
    local desktop=$stage/usr/share/applications/$app_id.desktop
    [ "$(desktop_key Exec "$desktop")" = nodalis ] || fail "the menu entry does not start nodalis"
    [ "$(desktop_key Icon "$desktop")" = "$app_id" ] || fail "the menu entry names another icon"
    grep -q "<release version=\"$version\"" "$stage/usr/share/metainfo/$app_id.metainfo.xml" ||
        fail "the metainfo does not announce release $version"
    echo "every file in place, icons of ${icon_sizes[*]} pixels"
}

check_validated() {
    local stage=$1 report
    # desktop-file-validate passes entries with warnings and hints: it must find nothing at all.
    report=$(desktop-file-validate "$stage/usr/share/applications/$app_id.desktop" 2>&1) ||
        fail "desktop-file-validate: $report"
    [ -z "$report" ] || fail "desktop-file-validate: $report"
    # appstreamcli fails on errors and warnings and passes on notes.
    appstreamcli validate --no-net "$stage/usr/share/metainfo/$app_id.metainfo.xml" ||
        fail "appstreamcli validate"
    # The tree check also finds the menu entry that the metainfo launches.
    appstreamcli validate-tree --no-net "$stage" || fail "appstreamcli validate-tree"
}

check_deb() {
    local build=$1 work
    work=$(mktemp -d)
    trap "rm -rf '$work'" EXIT
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log" >&2; fail "cpack failed"; }
    local architecture deb
    architecture=$(dpkg --print-architecture)
    deb=$work/nodalis_${version}_$architecture.deb
    [ -f "$deb" ] || fail "cpack made no $(basename "$deb"): $(ls "$work")"

    field() { dpkg-deb -f "$deb" "$1"; }
    [ "$(field Package)" = nodalis ] || fail "Package is $(field Package)"
    [ "$(field Version)" = "$version" ] || fail "Version is $(field Version)"
    [ "$(field Architecture)" = "$architecture" ] || fail "Architecture is $(field Architecture)"
    [ "$(field Maintainer)" = "$maintainer" ] || fail "Maintainer is $(field Maintainer)"
    [ -n "$(field Section)" ] || fail "no Section"
    [ "$(field Description | wc -l)" -ge 3 ] || fail "no long description: $(field Description)"
    local depends package
    depends=$(field Depends)
    # The Qt libraries come from dpkg-shlibdeps, the rest are loaded at run time.
    local required=(
        libqt6widgets6 libqt6printsupport6 libqt6svg6 fonts-dejavu-core hicolor-icon-theme
    )
    for package in "${required[@]}"; do
        grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
    done

    local contents
    contents=$(dpkg-deb -c "$deb") || fail "dpkg-deb cannot list the package"
    diff <(expected_files) \
        <(awk '$6 !~ /\/$/ { sub(/^\.\//, "", $6); print $6 }' <<<"$contents" | LC_ALL=C sort) ||
        fail "the package's files differ from the list above (< expected, > packaged)"
    awk '$2 != "root/root" { exit 1 }' <<<"$contents" || fail "files not owned by root: $contents"
    awk '$6 == "./usr/bin/nodalis" && $1 != "-rwxr-xr-x" { exit 1 }
         $6 != "./usr/bin/nodalis" && $1 ~ /^-/ && $1 != "-rw-r--r--" { exit 1 }' <<<"$contents" ||
        fail "files with the wrong permissions: $contents"
    echo "$(basename "$deb"): $depends"
}

case "${1:-}" in
installed) check_installed "$2" "$3" ;;
validated) check_validated "$2" ;;
deb) check_deb "$2" ;;
*)
    echo "usage: $0 installed BUILD_DIR STAGE_DIR | validated STAGE_DIR | deb BUILD_DIR" >&2
    exit 2
    ;;
esac
