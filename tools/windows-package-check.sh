#!/usr/bin/env bash
# Proves the Windows package of tools/windows-package stands on its own, in the build's wine
# prefix:
#   - the zip holds one folder with the program, its plugins, qt.conf, README and licences;
#   - every exe and DLL in it imports only DLLs of the package or of Windows;
#   - the unpacked kuptools.exe opens its main window on a virtual display, with the host's file
#     system out of wine's reach, so neither Qt's cache nor the build folder can stand in for
#     what the package lacks, and loads its plugins from the package;
#   - the installer, run silently, installs the package's files, its uninstaller, the start-menu
#     entry and the Add/Remove Programs entry; the uninstaller removes all of them again and
#     nothing a user put into the folder.
#   tools/windows-package-check.sh BUILD_FOLDER
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
source "$repo/tools/windows_dlls.sh"
source "$repo/tools/wine_prefix.sh"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
name=KUP-Tools-$version-win64
zip=$build/$name.zip
setup=$build/KUP-Tools-$version-setup.exe
caption="KupTools für Solidworks"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\KUP-Tools'

failures=0
fail() {
  echo "FEHLER: $*" >&2
  failures=$((failures + 1))
}
# waitfor SECONDS COMMAND...: true as soon as COMMAND succeeds, false when the time is up.
waitfor() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep 0.2
  done
}

for f in "$zip" "$setup"; do
  [ -f "$f" ] || { echo "FEHLER: $f fehlt (tools/windows-package)." >&2; exit 1; }
done

kup_wine_prefix "$build/wineprefix"
unset WINEPATH
drive_c=$WINEPREFIX/drive_c
zdrive=$WINEPREFIX/dosdevices/z:
xvfb_pid=""
restore() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  "$wineserver" -k >/dev/null 2>&1 || true
  [ -e "$zdrive" ] || ln -s / "$zdrive"
}
trap restore EXIT

# --- The zip and what it holds ---
top=$(unzip -Z1 "$zip" | cut -d/ -f1 | sort -u)
[ "$top" = "$name" ] || fail "Die Zip-Datei soll genau einen Ordner $name enthalten, enthält: $top"
unpacked=$drive_c/kup-paketprobe
rm -rf "$unpacked"
mkdir -p "$unpacked"
unzip -q "$zip" -d "$unpacked"
pkg=$unpacked/$name
for f in kuptools.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll qt.conf README.txt \
  plugins/platforms/qwindows.dll plugins/styles/qwindowsvistastyle.dll \
  plugins/imageformats/qgif.dll plugins/imageformats/qico.dll \
  licenses/Qt-LGPL-3.0.txt licenses/GPL-3.0.txt licenses/HINWEIS.txt; do
  [ -s "$pkg/$f" ] || fail "$f fehlt im Paket oder ist leer."
done
grep -q 'GNU LESSER GENERAL PUBLIC LICENSE' "$pkg/licenses/Qt-LGPL-3.0.txt" ||
  fail "licenses/Qt-LGPL-3.0.txt ist nicht der Text der LGPL."
grep -rqi 'GCC Runtime Library Exception' "$pkg/licenses" ||
  fail "Die GCC Runtime Library Exception fehlt unter licenses/."

# --- Imports: only the package's own DLLs and Windows' ---
mapfile -t binaries < <(find "$pkg" -type f \( -iname '*.exe' -o -iname '*.dll' \))
kup_dll_closure "$pkg" -- "${binaries[@]}" >/dev/null || fail "Das Paket ist nicht vollständig."

# --- Start of the unpacked program, with nothing of the host reachable ---
# Wine reaches the host's files only through drive Z:; without it the compiled-in Qt prefix,
# the build folder and the Qt cache are gone for the program.
rm "$zdrive"
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 15 -u "$displayfd" display || { echo "FEHLER: Xvfb startete nicht." >&2; exit 1; }
exec {displayfd}<&-
export DISPLAY=:$display

log=$build/windows-package-check.log
# Wine's loader names every DLL it maps and whether it is a Windows one of its own (builtin) or
# one from a file (native): every native one has to come from the package.
WINEDEBUG=-all,+loaddll "$wine" 'C:\kup-paketprobe\'"$name"'\kuptools.exe' >"$log" 2>&1 &
app_pid=$!
main_window() { xdotool search --name "^$caption\$" >/dev/null 2>&1; }
if waitfor 40 main_window; then
  echo "Hauptfenster \"$caption\" erschienen."
else
  fail "Das Hauptfenster \"$caption\" erschien nicht (Ausgabe: $log)."
fi
loaded=$(sed -n 's/.*Loaded L"\(.*\)" at [0-9A-Fa-f]*: native.*/\1/p' "$log" | sed 's/\\\\/\//g')
here="C:/kup-paketprobe/$name/"
outside=$(grep -v -F "$here" <<<"$loaded" || true)
[ -z "$outside" ] || fail "Geladen von außerhalb des Pakets: $(tr '\n' ' ' <<<"$outside")"
for plugin in platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qico.dll \
  imageformats/qgif.dll; do
  grep -qixF "${here}plugins/$plugin" <<<"$loaded" ||
    fail "Qt lud plugins/$plugin nicht aus dem Paket (Ausgabe: $log)."
done
# Closing the main window ends the program as the user would; the whole prefix if not.
"$wine" taskkill /IM kuptools.exe >/dev/null 2>&1 || true
app_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
if ! waitfor 10 app_ended; then
  fail "kuptools.exe endete nicht, als sein Fenster geschlossen wurde."
  "$wineserver" -k >/dev/null 2>&1 || true
fi
wait "$app_pid" 2>/dev/null || true
kill "$xvfb_pid" 2>/dev/null
xvfb_pid=""
unset DISPLAY
ln -s / "$zdrive"
rm -rf "$unpacked"

# --- Installer and uninstaller, silent ---
unixpath() { "$wine" winepath -u "$("$wine" cmd /c "echo $1" | tr -d '\r')" | tr -d '\r'; }
installed=$(unixpath '%LOCALAPPDATA%\Programs\KUP-Tools')
link=$(unixpath '%APPDATA%\Microsoft\Windows\Start Menu\Programs')/KUP-Tools.lnk
# A run that stopped halfway must not leave files this one then takes for installed.
rm -rf "$installed" "$link"
"$wine" reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
cp "$setup" "$drive_c/kup-setup.exe"
"$wine" 'C:\kup-setup.exe' /S
rm -f "$drive_c/kup-setup.exe"
expected=$(unzip -Z1 "$zip" | sed -n "s|^$name/\(..*\)|./\1|p" | sed 's|/$||'; echo ./uninstall.exe)
if [ -d "$installed" ]; then
  actual=$(cd "$installed" && find . -mindepth 1 | sort)
  [ "$actual" = "$(sort <<<"$expected")" ] ||
    fail "Installiert wurde nicht genau das Paket: $(diff <(sort <<<"$expected") <(echo "$actual") | grep '^[<>]' | tr '\n' ' ')"
else
  fail "Nicht installiert nach $installed."
fi
[ -f "$link" ] || fail "Der Startmenü-Eintrag $link fehlt."
"$wine" reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 ||
  fail "Der Eintrag unter $uninstall_key fehlt."

# Something of the user's in the folder: the uninstaller has to leave it and only it.
mkdir -p "$installed/plugins"
echo Notiz >"$installed/plugins/notiz.txt"
"$wine" "$(tr -d '\r' <<<"$("$wine" winepath -w "$installed/uninstall.exe")")" /S
# The uninstaller runs on from a copy of itself and returns at once; its end is the end of every
# process in the prefix.
timeout 30 "$wineserver" -w || fail "Die Deinstallation endete nicht."
left=$(cd "$installed" 2>/dev/null && find . -mindepth 1 | sort | tr '\n' ' ' || true)
[ "$left" = "./plugins ./plugins/notiz.txt " ] ||
  fail "Nach der Deinstallation bleibt im Ordner: ${left:-nichts, auch nicht die Datei des Benutzers}"
[ ! -e "$link" ] || fail "Der Startmenü-Eintrag blieb nach der Deinstallation."
"$wine" reg query "$uninstall_key" >/dev/null 2>&1 && fail "$uninstall_key blieb nach der Deinstallation."
rm -rf "$installed"

if [ "$failures" -gt 0 ]; then
  echo "Windows-Paket: $failures Fehler." >&2
  exit 1
fi
echo "Windows-Paket geprüft: $(basename "$zip"), $(basename "$setup")."
