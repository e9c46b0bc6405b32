#!/bin/sh
# Installs Scrivo or removes it:  tools/install.sh install|uninstall system|user
#
#   system  $PREFIX/bin/scrivo and scrivo-send, the sound in $PREFIX/share/scrivo/ (as packagers and
#           `make install` want it); the notepad then lives in each user's data folder.
#   user    the programs and the sound in $PREFIX/lib/scrivo/, a folder of the program's own where
#           its notepad lives beside it, and symlinks to the programs in $PREFIX/bin (`make run`).
#
# Both add the launcher $PREFIX/share/applications/scrivo.desktop and the application icon in
# $PREFIX/share/icons/hicolor. $DESTDIR goes before every path written, so a package can be staged;
# $BUILD is the build folder that holds the programs.
#
# Every file is copied under a temporary name beside its place and then renamed over the old one, so
# an install cut short (a full disk) leaves the old Scrivo working. Programs are stripped.
set -eu

action=${1:-}
layout=${2:-}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
: "${PREFIX:?PREFIX must name the installation prefix}"
DESTDIR=${DESTDIR:-}
BUILD=${BUILD:-$source_dir/build}

root=$DESTDIR$PREFIX
share=$root/share
icons=$share/icons/hicolor
case $layout in
system) programs=$root/bin data=$share/scrivo exec=$PREFIX/bin/scrivo ;;
user) programs=$root/lib/scrivo data=$root/lib/scrivo exec=$PREFIX/lib/scrivo/scrivo ;;
*) echo "usage: tools/install.sh install|uninstall system|user" >&2; exit 2 ;;
esac
sound=$source_dir/src/resources/MenuPop.wav

pending=
trap 'if [ -n "$pending" ]; then rm -f "$pending"; fi' EXIT

# begin TARGET: the temporary name, in the target's folder, that the new file is made under.
begin() {
    mkdir -p "$(dirname "$1")"
    pending=$(dirname "$1")/.$(basename "$1").new
}

# finish TARGET: the new file takes the target's place in one step.
finish() {
    mv -fT "$pending" "$1"
    pending=
}

# put MODE SOURCE TARGET [strip]
put() {
    begin "$3"
    if [ "${4:-}" = strip ]; then install -m "$1" -s "$2" "$pending"; else install -m "$1" "$2" "$pending"; fi
    finish "$3"
}

# write MODE TARGET: what comes on standard input.
write() {
    begin "$2"
    cat >"$pending"
    chmod "$1" "$pending"
    finish "$2"
}

# link TARGET LINK
link() {
    begin "$2"
    ln -sfn "$1" "$pending"
    finish "$2"
}

launcher() {
    cat <<EOF
[Desktop Entry]
Type=Application
Name=Scrivo
GenericName=Handwriting Notepad
Comment=Write and erase by hand on full-screen pages
Exec=$exec
Icon=scrivo
Terminal=false
Categories=Office;
Keywords=notes;handwriting;pen;stylus;sketch;
StartupNotify=false
StartupWMClass=Scrivo
EOF
}

# The icon's sizes are those of the pictures in src/resources/icons, named scrivo-<size>.png.
icon_sizes() {
    for picture in "$source_dir"/src/resources/icons/scrivo-*.png; do
        [ -e "$picture" ] || continue
        size=${picture##*-}
        echo "${size%.png}"
    done
}

# Caches a desktop keeps of these folders are refreshed, when there are any and this is no staging.
refresh_caches() {
    [ -z "$DESTDIR" ] || return 0
    if [ -f "$icons/icon-theme.cache" ] && command -v gtk-update-icon-cache >/dev/null; then
        gtk-update-icon-cache -q -t -f "$icons" || true
    fi
    if [ -f "$share/applications/mimeinfo.cache" ] && command -v update-desktop-database >/dev/null; then
        update-desktop-database -q "$share/applications" || true
    fi
}

install_scrivo() {
    for program in scrivo scrivo-send; do
        put 755 "$BUILD/$program" "$programs/$program" strip
    done
    if [ -f "$sound" ]; then put 644 "$sound" "$data/MenuPop.wav"; fi
    if [ "$layout" = user ]; then
        for program in scrivo scrivo-send; do link "$PREFIX/lib/scrivo/$program" "$root/bin/$program"; done
    fi
    launcher | write 644 "$share/applications/scrivo.desktop"
    for size in $(icon_sizes); do
        put 644 "$source_dir/src/resources/icons/scrivo-$size.png" "$icons/${size}x$size/apps/scrivo.png"
    done
    refresh_caches
}

# Removes only what an install puts there: a notepad beside the program stays, and so does its folder.
uninstall_scrivo() {
    for program in scrivo scrivo-send; do
        if [ "$layout" = user ] && [ "$(readlink "$root/bin/$program" || true)" = "$PREFIX/lib/scrivo/$program" ]; then
            rm -f "$root/bin/$program"
        fi
        rm -f "$programs/$program"
    done
    rm -f "$data/MenuPop.wav" "$share/applications/scrivo.desktop" "$icons"/*/apps/scrivo.png
    rmdir "$data" 2>/dev/null || true
    if [ -e "$data/Scrivo.bmp" ]; then echo "The notepad stays in $data/Scrivo.bmp"; fi
    refresh_caches
}

case $action in
install) install_scrivo ;;
uninstall) uninstall_scrivo ;;
*) echo "usage: tools/install.sh install|uninstall system|user" >&2; exit 2 ;;
esac
