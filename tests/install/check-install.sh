#!/usr/bin/env bash
# Installs the build into a temporary prefix, then builds and runs a project outside the tree
# against it twice: through find_package(qel CONFIG) and through pkg-config.
#   check-install.sh BUILD_DIR SOURCE_DIR "EXTRA_FLAGS"
set -euo pipefail
BUILD="$1"
SRC="$2"
FLAGS="${3:-}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
cmake --install "$BUILD" --prefix "$tmp/prefix" >/dev/null
test -f "$tmp/prefix/include/qel/meter/QEL_Meter.h"
test -f "$tmp/prefix/lib/cmake/qel/qelConfig.cmake"

cmake -S "$SRC/tests/install/project" -B "$tmp/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_PREFIX_PATH="$tmp/prefix" "-DCMAKE_CXX_FLAGS=$FLAGS" \
  "-DCMAKE_EXE_LINKER_FLAGS=$FLAGS" >/dev/null
cmake --build "$tmp/cmake" >/dev/null
QEL_BACKEND=headless "$tmp/cmake/qel-consumer"

export PKG_CONFIG_PATH="$tmp/prefix/lib/pkgconfig"
# shellcheck disable=SC2046,SC2086
c++ $FLAGS $(pkg-config --cflags qel) "$SRC/tests/install/project/consumer.cc" \
  $(pkg-config --libs qel) -o "$tmp/pc-consumer"
QEL_BACKEND=headless "$tmp/pc-consumer"
echo "check-install: CMake and pkg-config consumers built and ran"
