#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages, only when something is
# missing. Run as root (or with sudo available).
set -euo pipefail
need=()
have() { command -v "$1" >/dev/null 2>&1; }
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix)
[ -x /usr/lib/wine/wine64 ] || need+=(wine wine64)
have Xvfb || need+=(xvfb)
have xauth || need+=(xauth)
have cmake || need+=(cmake)
have ninja || need+=(ninja-build)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
[ -d /usr/share/wine/fonts ] || need+=(fonts-wine)
have convert || need+=(imagemagick)
have xwd || need+=(x11-apps)
have flock || need+=(util-linux)
if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${need[@]}"
fi
