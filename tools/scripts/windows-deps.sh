#!/bin/sh
# Cross-builds the libraries the Windows build needs and that Debian does not
# package for mingw-w64: FreeType and SFML (system, window, graphics), both
# static, from Debian's own source packages of the versions the Linux build
# uses. Usage: windows-deps.sh BUILD_DIR
#
# Result: BUILD_DIR/deps/prefix (headers, static libraries, CMake packages).
# A stamp names the source versions and this script's hash; while it matches,
# nothing is fetched or built again.
#
# apt-get source needs deb-src lines, which the machine's apt set-up may not
# have. The build gives apt a private configuration of its own, derived from
# the machine's enabled "deb" entries, with its own lists and cache, so the
# machine's apt state stays as it is.
set -eu
case "${1:-}" in
-h | --help)
  echo "usage: tools/scripts/windows-deps.sh BUILD_DIR"
  echo
  echo "Cross-builds static FreeType and SFML for mingw-w64 from Debian's source"
  echo "packages into BUILD_DIR/deps/prefix (cached while their versions match)."
  exit 0
  ;;
esac

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(mkdir -p "$1" && cd "$1" && pwd)
deps=$build/deps
prefix=$deps/prefix
toolchain=$root/cmake/mingw-w64-x86_64.cmake
jobs=${JOBS:-2}

# The source packages and versions of the Linux build's own libraries.
source_of() {
  dpkg-query -W -f='${source:Package}=${source:Version}' "$1"
}
sfml_src=$(source_of libsfml-dev)
freetype_src=$(source_of libfreetype-dev)
stamp="$sfml_src $freetype_src $(cat "$0" "$toolchain" | sha256sum | cut -c1-16)"

if [ -f "$prefix/.stamp" ] && [ "$(cat "$prefix/.stamp")" = "$stamp" ]; then
  echo "windows-deps: cached ($stamp)"
  exit 0
fi
echo "windows-deps: building $sfml_src and $freetype_src for Windows"
rm -rf "$deps"
mkdir -p "$deps/apt/lists/partial" "$deps/apt/cache/archives/partial" \
  "$deps/apt/sources.list.d" "$deps/src"

# deb-src twins of every enabled "deb" source of the machine.
: >"$deps/apt/sources.list"
if [ -f /etc/apt/sources.list ]; then
  sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list >>"$deps/apt/sources.list"
fi
for f in /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] || continue
  sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" >>"$deps/apt/sources.list"
done
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  sed 's/^Types:.*/Types: deb-src/' "$f" >"$deps/apt/sources.list.d/$(basename "$f")"
done

apt_private() {
  "$@" -o Dir::Etc::SourceList="$deps/apt/sources.list" \
    -o Dir::Etc::SourceParts="$deps/apt/sources.list.d" \
    -o Dir::State::Lists="$deps/apt/lists" \
    -o Dir::Cache="$deps/apt/cache" \
    -o APT::Sandbox::User=root
}
apt_private apt-get -qq update
(cd "$deps/src" && apt_private apt-get -qq source "$sfml_src" "$freetype_src")

freetype_dir=$(find "$deps/src" -maxdepth 1 -type d -name 'freetype-*' | head -n1)
sfml_dir=$(find "$deps/src" -maxdepth 1 -type d -name 'libsfml-*' | head -n1)

# Runs a build step with its output in a log, shown only when the step fails.
logged() {
  log=$1
  shift
  if ! "$@" >>"$log" 2>&1; then
    tail -n 40 "$log"
    echo "windows-deps: failed: $*" >&2
    exit 1
  fi
}

launcher=""
if command -v ccache >/dev/null 2>&1; then
  launcher="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
fi

# FreeType: TrueType fonts from memory are all the game needs, so none of its
# optional codecs (the game's fonts carry no compressed or colour glyphs).
# shellcheck disable=SC2086
logged "$deps/freetype.log" cmake -S "$freetype_dir" -B "$deps/build-freetype" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
  -DFT_DISABLE_ZLIB=TRUE -DFT_DISABLE_BZIP2=TRUE -DFT_DISABLE_PNG=TRUE \
  -DFT_DISABLE_HARFBUZZ=TRUE -DFT_DISABLE_BROTLI=TRUE $launcher
logged "$deps/freetype.log" cmake --build "$deps/build-freetype" -j "$jobs"
logged "$deps/freetype.log" cmake --install "$deps/build-freetype"

# SFML: static, with the C++ runtime linked in, so the game needs no DLL
# beside it. stb_image comes with SFML's sources; FreeType from above.
# shellcheck disable=SC2086
logged "$deps/sfml.log" cmake -S "$sfml_dir" -B "$deps/build-sfml" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DIRONMOAT_WINDOWS_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DSFML_USE_STATIC_STD_LIBS=ON \
  -DSFML_USE_SYSTEM_DEPS=ON -DSFML_BUILD_AUDIO=OFF -DSFML_BUILD_NETWORK=OFF \
  -DSFML_BUILD_DOC=OFF -DSFML_BUILD_EXAMPLES=OFF -DSFML_INSTALL_PKGCONFIG_FILES=OFF \
  $launcher
logged "$deps/sfml.log" cmake --build "$deps/build-sfml" -j "$jobs"
logged "$deps/sfml.log" cmake --install "$deps/build-sfml"
# SFML names the OpenGL import library as Windows spells it; mingw's is
# lower-case, and this host's file names are case-sensitive.
sed -i 's/"OpenGL32"/"opengl32"/' "$prefix/lib/cmake/SFML/SFMLConfigDependencies.cmake"

# Sources and intermediate objects are not needed again.
rm -rf "$deps/src" "$deps/build-freetype" "$deps/build-sfml" "$deps/apt"
echo "$stamp" >"$prefix/.stamp"
echo "windows-deps: done"
