#!/bin/bash
# The Windows release, cross-built on Debian 12 and tested under Wine:
#   bash scripts/windows.sh          # everything: deps, libs, game, zip, tests
#   bash scripts/windows.sh STEP...  # deps, libs, data, game, zip or test
# Everything it fetches, builds or caches stays in the build folder
# (FLUFF_WIN_BUILD, default build-win/); a second run reuses what is there.
# FLUFF_HOST_BUILD names a Linux build folder whose data/ is already made
# (scripts/test.sh passes its own); without it the host's tools are built in
# build-win/host.
set -e
cd "$(dirname "$0")/.."
ROOT=$PWD
B=${FLUFF_WIN_BUILD:-$ROOT/build-win}
mkdir -p "$B"
B=$(cd "$B" && pwd)
JOBS=${FLUFF_JOBS:-2}
MINGW=x86_64-w64-mingw32
TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
PREFIX=$B/prefix # the cross-built Allegro and SDL2
RELEASE=1.0rc2
ZIP=$B/fluffernauts-$RELEASE-win64.zip
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo

say() { echo "== windows: $* =="; }

# Another apt client may hold dpkg's lock for a while: wait for it.
apt_retry() {
    local n
    for n in $(seq 60); do
        if $SUDO env DEBIAN_FRONTEND=noninteractive "$@"; then
            return 0
        fi
        echo "apt busy or failed, retrying ($n)"
        sleep 10
    done
    return 1
}

# The sources of Allegro and SDL2 come from Debian's source packages: the
# archive the machine already uses, with deb-src added.
ensure_deb_src() {
    if grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return 0
    fi
    local f=/etc/apt/sources.list.d/debian.sources
    if [ -f "$f" ] && grep -q '^Types: deb$' "$f"; then
        say "adding deb-src to $f"
        $SUDO sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
    elif [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
        say "adding deb-src lines to /etc/apt/sources.list"
        grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
            $SUDO tee -a /etc/apt/sources.list >/dev/null
    else
        echo "windows.sh: no Debian archive found in /etc/apt to add deb-src to" >&2
        return 1
    fi
    apt_retry apt-get update -qq
}

step_deps() {
    say "packages"
    local missing=() p
    for p in $(cat scripts/windows-packages.txt); do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        apt_retry apt-get update -qq
        # wine64's recommends would bring a desktop's worth of libraries.
        apt_retry apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
    mkdir -p "$B/src"
    local pkg
    for pkg in allegro4.4 libsdl2; do
        if ! ls "$B/src/${pkg}_"*.orig.tar.* >/dev/null 2>&1; then
            ensure_deb_src
            # The Debian patch tarball of a revision may be gone (404); the
            # upstream tarball is all a cross build needs.
            (cd "$B/src" && apt-get source --download-only "$pkg") || true
            ls "$B/src/${pkg}_"*.orig.tar.* >/dev/null 2>&1 ||
                { echo "windows.sh: no source tarball for $pkg" >&2; return 1; }
        fi
    done
}

# Unpacks a source package's upstream tarball into $B/src/NAME.
unpack() {
    local pkg=$1 dir=$B/src/$1
    if [ ! -d "$dir" ]; then
        mkdir -p "$dir.tmp"
        tar -xf "$(ls "$B/src/${pkg}_"*.orig.tar.* | head -1)" -C "$dir.tmp" --strip-components=1
        mv "$dir.tmp" "$dir"
    fi
    echo "$dir"
}

step_libs() {
    if [ ! -f "$PREFIX/lib/liballeg.a" ]; then
        say "Allegro 4.4 (static)"
        local src
        src=$(unpack allegro4.4)
        cmake -S "$src" -B "$B/allegro" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DSHARED=OFF \
            -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF -DWANT_TESTS=OFF -DWANT_DOCS=OFF \
            -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF \
            -DWANT_DX=ON >/dev/null
        cmake --build "$B/allegro" -j"$JOBS" >"$B/allegro.log" 2>&1 || { tail -30 "$B/allegro.log"; return 1; }
        cmake --install "$B/allegro" >/dev/null
    fi
    if [ ! -f "$PREFIX/lib/libSDL2.a" ]; then
        say "SDL2 (static)"
        local src
        src=$(unpack libsdl2)
        # The game needs video, events, timers and audio; the rest is off.
        cmake -S "$src" -B "$B/sdl2" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
            -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_JOYSTICK=OFF \
            -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF \
            -DSDL_LOCALE=OFF -DSDL_MISC=OFF >/dev/null
        cmake --build "$B/sdl2" -j"$JOBS" >"$B/sdl2.log" 2>&1 || { tail -30 "$B/sdl2.log"; return 1; }
        cmake --install "$B/sdl2" >/dev/null
    fi
    if [ ! -f "$PREFIX/lib/libgtest.a" ]; then
        say "GoogleTest"
        cmake -S /usr/src/googletest -B "$B/gtest" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DBUILD_GMOCK=OFF \
            -Dgtest_disable_pthreads=OFF >/dev/null
        cmake --build "$B/gtest" -j"$JOBS" >/dev/null
        cmake --install "$B/gtest" >/dev/null
    fi
}

# The datafiles are made by the host's own tools: the same bytes as on Linux.
step_data() {
    HOST=${FLUFF_HOST_BUILD:-$B/host}
    if [ -z "$FLUFF_HOST_BUILD" ]; then
        say "host tools and datafiles"
        bash scripts/deps.sh $(cat scripts/packages.txt)
        cmake -S . -B "$HOST" -DCMAKE_BUILD_TYPE=Release -DFLUFF_TESTS=OFF >/dev/null
        cmake --build "$HOST" -j"$JOBS" --target gfx_assets audio_assets icons >/dev/null
    fi
    for f in gfx.dat snd.dat font.dat cm.m patches.dat; do
        [ -f "$HOST/data/$f" ] || { echo "windows.sh: $HOST/data/$f is missing" >&2; return 1; }
    done
}

step_game() {
    [ -n "$HOST" ] || step_data
    say "game and tests"
    cmake -S . -B "$B/game" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_PREFIX_PATH="$PREFIX" -DCMAKE_FIND_ROOT_PATH="$PREFIX" \
        -DFLUFF_HOST_DATA="$HOST/data" -DFLUFF_WERROR=ON >/dev/null
    cmake --build "$B/game" -j"$JOBS"
}

step_zip() {
    say "zip"
    local stage=$B/zip/fluffernauts-$RELEASE-win64
    rm -rf "$B/zip" "$ZIP"
    mkdir -p "$stage/data"
    cp "$B/game/fluffernauts.exe" "$stage/"
    $MINGW-strip "$stage/fluffernauts.exe"
    cp "$B/game/data/"{gfx.dat,snd.dat,font.dat,cm.m,patches.dat,icon.rgba} "$stage/data/"
    cp dist/README-windows.txt "$stage/README.txt"
    cp COPYING "$stage/COPYING.txt"
    # Windows players read text files in Notepad: CRLF line ends.
    sed -i 's/$/\r/' "$stage/README.txt" "$stage/COPYING.txt"
    (cd "$B/zip" && zip -qr -X "$ZIP" "fluffernauts-$RELEASE-win64")
    echo "$ZIP: $(stat -c %s "$ZIP") bytes"
}

step_test() {
    say "tests under Wine"
    bash tests/e2e/run_wine.sh "$B" "$ROOT/tests/replays"
}

steps=("$@")
[ ${#steps[@]} -eq 0 ] && steps=(deps libs data game zip test)
for s in "${steps[@]}"; do
    case $s in
        deps | libs | data | game | zip | test) "step_$s" ;;
        *)
            echo "windows.sh: unknown step $s" >&2
            exit 2
            ;;
    esac
done
