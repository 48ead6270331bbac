#!/usr/bin/env bash
# Builds the whole tool for Windows (kuptools.exe, cadsim's core and cadsim.exe, the test
# programs) with mingw-w64 against the Qt for Windows of tools/qt-windows.sh and the libtiff of
# tools/tiff-windows.sh, into build-windows/. nlohmann_json is header-only: the host's serves.
#   tools/windows-build.sh [BUILD_FOLDER]
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build-windows}
"$repo/tools/qt-windows.sh"  # a no-op once Qt for Windows is in the cache
qt=$("$repo/tools/qt-windows.sh" --prefix)
"$repo/tools/tiff-windows.sh" >/dev/null
tiff=$("$repo/tools/tiff-windows.sh" --prefix)
# The host's nlohmann_json, seen through a folder of links holding only it: its CMake config
# names the include folder beside itself, and the host's /usr/include must not be searched
# by the Windows compiler.
json=$build/nlohmann-json-host
mkdir -p "$json/include" "$json/share/cmake"
ln -sfn /usr/include/nlohmann "$json/include/nlohmann"
ln -sfn /usr/share/cmake/nlohmann_json "$json/share/cmake/nlohmann_json"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
  -DKUP_QT_WINDOWS="$qt" -DKUP_TIFF_WINDOWS="$tiff" -DCMAKE_PREFIX_PATH="$qt;$tiff" \
  -Dnlohmann_json_DIR="$json/share/cmake/nlohmann_json" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >/dev/null
cmake --build "$build" -j "$(nproc)"
# Where the programs find Qt when they run from the build folder (tools/wine_tests.sh).
echo "$qt" > "$build/qt-windows.txt"
# cadsim.exe runs from its folder as it is, as COM starts it: the DLLs its imports lead to, the
# window platform and qt.conf beside it.
source "$repo/tools/windows_dlls.sh"
cadsim=$build/cadsim
mkdir -p "$cadsim/plugins/platforms"
cp -u "$qt/plugins/platforms/qwindows.dll" "$cadsim/plugins/platforms/"
read -r -a sources <<<"$(kup_dll_sources "$qt")"
for dll in $(kup_dll_closure "${sources[@]}" -- "$cadsim/cadsim.exe" "$cadsim/plugins/platforms/qwindows.dll"); do
  cp -u "$dll" "$cadsim/"
done
printf '[Paths]\r\nPrefix = .\r\nPlugins = plugins\r\n' >"$cadsim/qt.conf"
