#!/usr/bin/env bash
# Configures and builds both architectures: build/i686 (static checks) and build/x86_64
# (programs and tests). BUILD_DIR overrides the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build/i686" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/i686"
cmake -S "$root" -B "$build/x86_64" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DSTRAPPA_TESTS=ON -DSTRAPPA_I686_BIN="$build/i686/bin" >/dev/null
cmake --build "$build/x86_64"
