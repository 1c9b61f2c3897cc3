#!/usr/bin/env bash
# The one-command demo: installs what is missing, builds, then shows the band hosted in a
# window and driven by the player simulator (see demo-run.sh). On a desktop it runs until the
# band host window is closed; without a display, or with --headless, it plays a short script
# on a private X server and writes a screenshot. BUILD_DIR overrides the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
BUILD_DIR=$build "$root/scripts/build.sh"
exec "$root/scripts/demo-run.sh" "$build/x86_64" "$@"
