#!/usr/bin/env bash
# Builds Qt for Windows (qtbase, mingw-w64, shared, Release) from Debian's source
# package of the Qt the host has, and installs it into a cache outside the
# repository. Does nothing when a complete install of that version is there.
#   tools/qt-windows.sh          prints the install folder on its last line
#   tools/qt-windows.sh --prefix only prints the install folder
# Source: Debian's own archive, fetched and checked by tools/debian_source.sh.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/tools/deps.sh"
kup_install qt6-base-dev g++-mingw-w64-x86-64-posix cmake ninja-build dpkg-dev ca-certificates

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)  # e.g. 6.4.2+dfsg-10
upstream=${version%%+*}
upstream=${upstream%%-*}
source "$repo/tools/debian_source.sh"
kup_windows_install qt "$upstream" "$version" "${1:-}"
kup_debian_source qt6-base "$version" "$work"
src=$work/src

cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF -DFEATURE_vulkan=OFF \
  -DFEATURE_opengl=ON -DINPUT_opengl=desktop \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
  -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF \
  -DFEATURE_system_doubleconversion=OFF
cmake --build "$work/build" -j "$(nproc)"
rm -rf "$prefix"
cmake --install "$work/build" >/dev/null
echo "$version" > "$marker"
echo "$prefix"
