#!/usr/bin/env bash
# Sourced: what a Windows program of ours loads, read from the import tables of its PE files.
# tools/windows-package collects the DLLs with it, tools/windows-package-check.sh proves the
# package holds them all.

kup_objdump=x86_64-w64-mingw32-objdump

# Where the package takes a DLL from, in this order.
kup_dll_sources() {  # Qt prefix
  echo "$1/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib
}

# What Windows itself brings. A DLL is only left out of the package when it is named here, so a
# new dependency of Qt or of the program fails the package instead of a user's first start.
kup_system_dlls=(
  advapi32 authz bcrypt comctl32 comdlg32 crypt32 d2d1 d3d11 d3d12 d3d9 dcomp dnsapi dwmapi
  dwrite dxgi gdi32 imm32 iphlpapi kernel32 mpr msvcrt ncrypt netapi32 ntdll ole32 oleaut32
  opengl32 rpcrt4 secur32 setupapi shcore shell32 shlwapi user32 userenv uxtheme version
  winmm winspool wtsapi32 ws2_32
  # API sets: names Windows 8 and later resolve themselves; Qt uses them for what older
  # systems lack.
  api-ms-win-core-synch-l1-2-0 api-ms-win-core-winrt-l1-1-0 api-ms-win-core-winrt-string-l1-1-0
)

kup_is_system_dll() {  # NAME.dll, in any case
  local name=${1,,}
  name=${name%.dll}
  local s
  for s in "${kup_system_dlls[@]}"; do
    [ "$s" = "$name" ] && return 0
  done
  return 1
}

# The DLL names a PE file imports, one a line, as written in the file.
kup_pe_imports() {  # FILE
  local out
  out=$("$kup_objdump" -p "$1") || {
    echo "FEHLER: $1 ist keine lesbare PE-Datei." >&2
    return 1
  }
  sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' <<<"$out" | tr -d '\r'
}

# A file in FOLDER named NAME in any case (Windows does not tell case in file names).
kup_find_nocase() {  # FOLDER NAME
  find "$1" -maxdepth 1 -type f -iname "$2" -print -quit 2>/dev/null
}

# kup_dll_closure FOLDER... -- FILE...: the DLLs FILE... need, transitively, that are not system
# DLLs, each printed once as the path it is found at in the first FOLDER holding it. Fails naming
# every import that is neither found nor a system DLL, and the file asking for it.
kup_dll_closure() {
  local folders=() queue=() seen=" " missing=() file dll found folder
  while [ "$1" != "--" ]; do folders+=("$1"); shift; done
  shift
  queue=("$@")
  while [ ${#queue[@]} -gt 0 ]; do
    file=${queue[0]}
    queue=("${queue[@]:1}")
    local imports
    imports=$(kup_pe_imports "$file") || return 1
    while IFS= read -r dll; do
      [ -z "$dll" ] && continue
      kup_is_system_dll "$dll" && continue
      case "$seen" in *" ${dll,,} "*) continue ;; esac
      seen+="${dll,,} "
      found=""
      for folder in "${folders[@]}"; do
        found=$(kup_find_nocase "$folder" "$dll")
        [ -n "$found" ] && break
      done
      if [ -z "$found" ]; then
        missing+=("$dll (von $(basename "$file"))")
        continue
      fi
      echo "$found"
      queue+=("$found")
    done <<<"$imports"
  done
  if [ ${#missing[@]} -gt 0 ]; then
    printf 'FEHLER: weder mitgeliefert noch eine Windows-Systembibliothek: %s\n' "${missing[@]}" >&2
    return 1
  fi
}
