#!/bin/sh
# Builds the libFuzzer targets with clang into OUT (default build-fuzz/).
# Kept apart from the CMake build, which uses g++; only the few engine and
# game sources each target needs are compiled, and SFML is not linked.
set -eu

case "${1:-}" in
-h | --help)
    echo "usage: tools/fuzz/build.sh [OUT]"
    echo
    echo "Builds the libFuzzer targets with clang into OUT (default build-fuzz)."
    exit 0
    ;;
esac

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
OUT=${1:-"$ROOT/build-fuzz"}
CXX=${FUZZ_CXX:-clang++-14}
command -v "$CXX" >/dev/null 2>&1 || CXX=clang++

FLAGS="-std=c++20 -g -O1 -fno-omit-frame-pointer -Wall -Wextra -I$ROOT"
SAN="-fsanitize=address,undefined -fno-sanitize-recover=undefined"

mkdir -p "$OUT/obj"

# obj SOURCE: compiles one source once (rebuilt when it is newer than its object).
obj() {
    src="$ROOT/$1"
    o="$OUT/obj/$(echo "$1" | tr '/' '_').o"
    if [ ! -f "$o" ] || [ "$src" -nt "$o" ] || [ "$0" -nt "$o" ]; then
        $CXX $FLAGS $SAN -fsanitize=fuzzer-no-link -c "$src" -o "$o"
    fi
    echo "$o"
}

# target NAME SOURCE...: links fuzz_NAME from tools/fuzz/FuzzNAME.cpp and the sources.
target() {
    name=$1
    shift
    objs=""
    for s in "tools/fuzz/Fuzz$name.cpp" "$@"; do
        objs="$objs $(obj "$s")"
    done
    # shellcheck disable=SC2086
    $CXX $SAN -fsanitize=fuzzer $objs -lpthread -lz -o "$OUT/fuzz_$(echo "$name" | tr 'A-Z' 'a-z')"
    echo "built $OUT/fuzz_$(echo "$name" | tr 'A-Z' 'a-z')"
}

CORE="engine/core/Assert.cpp engine/core/Utf8.cpp engine/core/Date.cpp"
FILES="engine/platform/Path.cpp engine/platform/FileDriverPosix.cpp"
COMMON="engine/common/Archive.cpp engine/common/File.cpp engine/common/LogClient.cpp engine/common/Logger.cpp"

target Archive $CORE $FILES $COMMON tools/fuzz/ScratchArchive.cpp
target Level game/world/LevelReader.cpp tools/maprules/MapRules.cpp tools/maprules/Routes.cpp \
    tools/mapcheck/Preview.cpp
target Utf8 engine/core/Utf8.cpp
target Path engine/core/Utf8.cpp engine/platform/Path.cpp
target Verify $CORE $FILES $COMMON tools/pyxarc/Verify.cpp tools/fuzz/ScratchArchive.cpp
