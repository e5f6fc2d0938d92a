#!/bin/bash
# Installs a built tree into a temporary prefix and checks what a desktop
# and a package manager will see: the layout the program looks for, the menu
# entry, the AppStream metainfo, the man page and the icons; then makes the
# Debian package and checks its fields and its menu entry.
#   check_install.sh BUILD_DIR
# Needs desktop-file-utils, appstream, man-db, groff-base, dpkg-dev and lintian.
set -u
BUILD=$(readlink -f "$1")
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
P=$TMP/prefix
failures=0

fail() {
    echo "check_install: FAIL: $*" >&2
    failures=$((failures + 1))
}

cmake --install "$BUILD" --prefix "$P" >"$TMP/install.log" 2>&1 ||
    { cat "$TMP/install.log" >&2; fail "cmake --install failed"; exit 1; }

# The program sits one level below the prefix and finds its data at
# ../share/fluffernauts; a table made by running the build must not ship.
[ -x "$P/games/fluffernauts" ] || fail "no program at games/fluffernauts"
for f in gfx.dat snd.dat font.dat cm.m patches.dat; do
    [ -s "$P/share/fluffernauts/$f" ] || fail "no share/fluffernauts/$f"
done
[ -e "$P/share/fluffernauts/hiscore.dat" ] && fail "a high score table was installed"

# Menu entry: valid, a game, starting the installed program by its path.
desktops=("$P"/share/applications/*.desktop)
if [ ${#desktops[@]} -ne 1 ] || [ ! -f "${desktops[0]}" ]; then
    fail "expected one menu entry, found: ${desktops[*]}"
    exit 1
fi
DESKTOP=${desktops[0]}
ID=$(basename "$DESKTOP" .desktop)
desktop-file-validate "$DESKTOP" || fail "desktop-file-validate rejects $DESKTOP"
field() { sed -n "s/^$1=//p" "$2"; }
[ "$(field Exec "$DESKTOP")" = "$P/games/fluffernauts" ] ||
    fail "menu entry starts '$(field Exec "$DESKTOP")', not the installed program"
[ "$(field Categories "$DESKTOP")" = "Game;ArcadeGame;" ] ||
    fail "menu categories are '$(field Categories "$DESKTOP")'"
[ "$(field Icon "$DESKTOP")" = "$ID" ] || fail "menu icon is not named $ID"

# Icons: RGBA PNGs of the size their folder names.
for size in 48 128 256; do
    icon=$P/share/icons/hicolor/${size}x${size}/apps/$ID.png
    if [ ! -f "$icon" ]; then
        fail "no $size px icon"
        continue
    fi
    # Signature, then the IHDR chunk: width, height, bit depth, colour type.
    head=$(od -An -tx1 -N26 "$icon" | tr -d ' \n')
    want=$(printf '89504e470d0a1a0a0000000d49484452%08x%08x0806' "$size" "$size")
    [ "$head" = "$want" ] || fail "$icon is not an 8-bit RGBA PNG of ${size}x${size}"
done

# Metainfo: valid, the same id as the menu entry, this release, a screenshot.
META=$P/share/metainfo/$ID.metainfo.xml
if [ -f "$META" ]; then
    appstreamcli validate --no-net "$META" >"$TMP/as.log" 2>&1 ||
        { cat "$TMP/as.log" >&2; fail "appstreamcli rejects $META"; }
    grep -q "<id>$ID</id>" "$META" || fail "metainfo id differs from the menu entry's"
    grep -q "<launchable type=\"desktop-id\">$ID.desktop</launchable>" "$META" ||
        fail "metainfo does not launch $ID.desktop"
    grep -q '<release version="1.0~rc2"' "$META" || fail "metainfo lacks release 1.0~rc2"
    grep -q '<image>https://[^<]*\.png</image>' "$META" || fail "metainfo has no screenshot"
else
    fail "no metainfo at share/metainfo/$ID.metainfo.xml"
fi

# Man page: formats without a warning and documents every option.
MAN=$P/share/man/man6/fluffernauts.6
if [ -f "$MAN" ]; then
    warnings=$(groff -man -z -ww "$MAN" 2>&1)
    [ -z "$warnings" ] || fail "groff warns about the man page: $warnings"
    warnings=$(MANWIDTH=80 man --warnings -l "$MAN" 2>&1 >"$TMP/man.txt")
    [ -z "$warnings" ] || fail "man warns about the man page: $warnings"
    for word in --fullscreen --windowed --help --version --timedemo \
        CONTROLS FILES "EXIT STATUS" hiscore.dat; do
        grep -q -- "$word" "$TMP/man.txt" || fail "man page does not mention $word"
    done
else
    fail "no man page at share/man/man6/fluffernauts.6"
fi

# The Debian package, made away from the build folder.
if cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$TMP/pkg" >"$TMP/cpack.log" 2>&1; then
    debs=("$TMP"/pkg/*.deb)
    DEB=${debs[0]}
    [ "$(basename "$DEB")" = "fluffernauts_1.0~rc2-1_$(dpkg --print-architecture).deb" ] ||
        fail "package is named $(basename "$DEB")"
    depends=$(dpkg-deb -f "$DEB" Depends)
    echo "check_install: Depends: $depends"
    case "$depends" in
    *liballegro4.4*libc6*) ;;
    *) fail "Depends not filled from the linked libraries: '$depends'" ;;
    esac
    [ "$(dpkg-deb -f "$DEB" Section)" = games ] || fail "package section is not games"
    dpkg-deb -c "$DEB" >"$TMP/contents.txt"
    for f in ./usr/games/fluffernauts ./usr/share/fluffernauts/gfx.dat \
        "./usr/share/applications/$ID.desktop" ./usr/share/man/man6/fluffernauts.6.gz \
        ./usr/share/doc/fluffernauts/copyright ./usr/share/doc/fluffernauts/changelog.Debian.gz; do
        grep -q " $f\$" "$TMP/contents.txt" || fail "package lacks $f"
    done
    mkdir "$TMP/unpacked"
    dpkg-deb -x "$DEB" "$TMP/unpacked"
    exec_line=$(field Exec "$TMP/unpacked/usr/share/applications/$ID.desktop")
    [ "$exec_line" = /usr/games/fluffernauts ] || fail "packaged menu entry starts '$exec_line'"
    # The copyright file is machine-readable and names the licence of every
    # file; Debian's own checker finds no error or warning in the package
    # beyond the one every first upload gets.
    grep -q '^License: GPL-2+$' "$TMP/unpacked/usr/share/doc/fluffernauts/copyright" ||
        fail "the copyright file does not give the game's licence"
    lintian --suppress-tags initial-upload-closes-no-bugs --fail-on error,warning "$DEB" \
        >"$TMP/lintian.log" 2>&1 || { cat "$TMP/lintian.log" >&2; fail "lintian rejects the package"; }
else
    cat "$TMP/cpack.log" >&2
    fail "cpack -G DEB failed"
fi

if [ $failures -ne 0 ]; then
    echo "check_install: $failures check(s) failed" >&2
    exit 1
fi
echo "check_install: install layout, menu entry, metainfo, man page, icons and package OK"
