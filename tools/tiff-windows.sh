#!/usr/bin/env bash
# Builds libtiff for Windows (mingw-w64, static, no codec that needs another library) from
# Debian's source package of the libtiff the host has, and installs it into a cache outside the
# repository. Does nothing when a complete install of that version is there.
#   tools/tiff-windows.sh          prints the install folder on its last line
#   tools/tiff-windows.sh --prefix only prints the install folder
# Source: Debian's own archive, fetched and checked by tools/debian_source.sh.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/tools/deps.sh"
kup_install libtiff-dev g++-mingw-w64-x86-64-posix cmake ninja-build dpkg-dev ca-certificates

version=$(dpkg-query -W -f='${source:Version}' libtiff-dev)  # e.g. 4.5.0-6+deb12u5
upstream=${version#*:}
upstream=${upstream%%-*}
source "$repo/tools/debian_source.sh"
kup_windows_install tiff "$upstream" "$version" "${1:-}"
built=$version
if ! kup_debian_source tiff "$version" "$work"; then
  # A mirror may lack the host's latest security upload for a while; the newest Debian revision
  # of the same upstream release the archive does deliver is the next best.
  built=
  for candidate in $(kup_debian_source_versions tiff "$work"); do
    if [ "$candidate" = "$version" ] || [ "${candidate%%-*}" != "${version%%-*}" ]; then
      continue
    fi
    if kup_debian_source tiff "$candidate" "$work"; then
      built=$candidate
      break
    fi
  done
  [ -n "$built" ] || { echo "FEHLER: keine Quelle von tiff $upstream im Debian-Archiv" >&2; exit 1; }
  echo "tiff $version ist im Archiv nicht zu haben; gebaut wird $built" >&2
fi
src=$work/src

# cadsim codes Group 4 and PackBits itself and needs none of the codecs behind other libraries.
# win32-io off: TIFFFdOpen then takes the C runtime's descriptors, as on Linux.
rm -rf "$work/build"
cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$prefix" \
  -Dzlib=OFF -Djpeg=OFF -Dold-jpeg=OFF -Djbig=OFF -Dlerc=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF \
  -Dlibdeflate=OFF -Dpixarlog=OFF -Dcxx=OFF -Dwin32-io=OFF \
  -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF >/dev/null
cmake --build "$work/build" -j "$(nproc)"
rm -rf "$prefix"
cmake --install "$work/build" >/dev/null
echo "$built" > "$prefix/.kup-source-version"
# Keyed on the host's version, so a later call does not ask the archive again.
echo "$version" > "$marker"
echo "$prefix"
