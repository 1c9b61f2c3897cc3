#!/usr/bin/env bash
# The test command: installs what is missing, builds both architectures and runs every test
# under 64-bit Wine on a private X server. Ends with CTest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
BUILD_DIR=$build "$root/scripts/build.sh"
cd "$build/x86_64"
# The prefix's wineserver must not outlive the X server it was started with.
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
  ctest --output-on-failure --no-label-summary "$@"; status=$?
  WINEPREFIX="$PWD/wineprefix" /usr/lib/wine/wineserver64 -k 2>/dev/null
  exit $status' ctest "$@"
