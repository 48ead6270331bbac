; The installer of KUP-Tools, made by tools/windows-package from the package folder:
;   makensis -DVERSION=1.2.0 -DSOURCE=<package folder> -DFILES=<file list> -DOUTFILE=<setup.exe>
;            -DINSTALLED=<list of installed files> -DRUNNING_MUTEX=<name> -DICON=<icon>
;            -DSIZE_KB=<size> tools/windows-installer.nsi
; FILES is the generated macro KupInstallFiles that installs the package's files. INSTALLED lists
; the same files and folders, one a line (folders end in "\", deepest first); it is installed as
; installed-files.txt, so that the uninstaller removes exactly what was installed and leaves
; anything a user put into the folder, and the next installer removes what this version installed
; and that one does not.
;
; Per user: no administrator rights, into the user's own program folder, the start-menu entry and
; the Add/Remove Programs entry under HKCU.
; A 64-bit installer for a 64-bit program: it also runs where 32-bit programs cannot (wine64).
Target amd64-unicode
!include MUI2.nsh
!include LogicLib.nsh
!include "${FILES}"

!define PRODUCT "KUP-Tools"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define INSTALLED_LIST "installed-files.txt"
!define SYNCHRONIZE 0x00100000

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
; Sharp text at the scaling Windows has when the installer starts, instead of a stretched bitmap.
; System-wide only: its pages are laid out once and do not follow a move to another monitor.
ManifestDPIAware true
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1031 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "FileDescription" "${PRODUCT} ${VERSION} installieren"
VIAddVersionKey /LANG=1031 "LegalCopyright" "Copyright © 2026 KUP-Tools"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${SOURCE}\licenses\HINWEIS.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION KupStart
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "German"

; The buttons are named by Windows in its own language, so the text does not quote them.
LangString KupRunning ${LANG_GERMAN} "KUP-Tools läuft noch und muss für die Installation beendet werden.$\r$\n$\r$\nBitte beenden Sie KUP-Tools und versuchen Sie es dann erneut. Wenn Sie abbrechen, bleibt alles, wie es ist."
LangString un.KupRunning ${LANG_GERMAN} "KUP-Tools läuft noch und muss für die Deinstallation beendet werden.$\r$\n$\r$\nBitte beenden Sie KUP-Tools und versuchen Sie es dann erneut. Wenn Sie abbrechen, bleibt alles, wie es ist."
LangString KupStopped ${LANG_GERMAN} "Abgebrochen, weil KUP-Tools läuft. Es wurde nichts verändert."

; Returns once kuptools.exe no longer runs: its files cannot be replaced or removed while it does.
; Otherwise (cancelled, or silent) the run ends here with exit code 2, before anything changed.
!macro KupProgramEndedFunction UN
Function ${UN}KupProgramEnded
  Push $0
  ${Do}
    ; kuptools.exe holds this mutex for as long as it runs.
    System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${RUNNING_MUTEX}") p .r0'
    ${If} $0 == 0
      Pop $0
      Return
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(${UN}KupRunning)" /SD IDCANCEL IDRETRY again
    DetailPrint "$(KupStopped)"
    SetErrorLevel 2
    Abort
    again:
  ${Loop}
FunctionEnd
!macroend
!insertmacro KupProgramEndedFunction ""
!insertmacro KupProgramEndedFunction "un."

; Removes what ${INSTALLED_LIST} in $INSTDIR names: with "files" on the stack its files, with
; "folders" its folders that are empty by then. The list is a text file anyone can edit, and
; Delete takes wildcards and ".." as they come: a name that could reach outside the folder or
; match more than one file is passed over.
!macro KupRemoveListedFunction UN
Function ${UN}KupRemoveListed
  Exch $R0
  Push $R1
  Push $R2
  Push $R3
  Push $R4
  ClearErrors
  FileOpen $R1 "$INSTDIR\${INSTALLED_LIST}" r
  ${IfNot} ${Errors}
    ${Do}
      ClearErrors
      FileRead $R1 $R2
      ${If} ${Errors}
        ${ExitDo}
      ${EndIf}
      ${Do}
        StrCpy $R3 $R2 1 -1
        ${If} $R3 == "$\r"
        ${OrIf} $R3 == "$\n"
          StrCpy $R2 $R2 -1
        ${Else}
          ${ExitDo}
        ${EndIf}
      ${Loop}
      StrCpy $R3 $R2 1
      ${If} $R3 == "\"
        StrCpy $R2 ""
      ${EndIf}
      StrCpy $R4 0
      ${Do}
        StrCpy $R3 $R2 2 $R4
        ${If} $R3 == ""
          ${ExitDo}
        ${EndIf}
        ${If} $R3 == ".."
          StrCpy $R2 ""
        ${EndIf}
        StrCpy $R3 $R3 1
        ${If} $R3 == ":"
        ${OrIf} $R3 == "*"
        ${OrIf} $R3 == "?"
          StrCpy $R2 ""
        ${EndIf}
        IntOp $R4 $R4 + 1
      ${Loop}
      ${If} $R2 != ""
        StrCpy $R3 $R2 1 -1
        ${If} $R3 == "\"
          ${If} $R0 == "folders"
            StrCpy $R2 $R2 -1
            RMDir "$INSTDIR\$R2"
          ${EndIf}
        ${ElseIf} $R0 == "files"
          Delete "$INSTDIR\$R2"
        ${EndIf}
      ${EndIf}
    ${Loop}
    FileClose $R1
  ${EndIf}
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd
!macroend
!insertmacro KupRemoveListedFunction ""
!insertmacro KupRemoveListedFunction "un."

; Asked at the start and again right before the files are touched, as the program may have been
; started on one of the pages in between.
Function .onInit
  SetShellVarContext current
  Call KupProgramEnded
FunctionEnd

Function un.onInit
  SetShellVarContext current
  Call un.KupProgramEnded
FunctionEnd

; From the finish page as from the start-menu entry: in the documents folder, where the program's
; folder chooser then opens, not in the program's own folder.
Function KupStart
  SetOutPath "$DOCUMENTS"
  Exec '"$INSTDIR\kuptools.exe"'
FunctionEnd

Section "KUP-Tools"
  Call KupProgramEnded
  ; What an older version installed goes first, so that nothing of it that this one no longer has
  ; stays behind; its folders go once this version's files are in theirs.
  Push "files"
  Call KupRemoveListed
  !insertmacro KupInstallFiles
  Push "folders"
  Call KupRemoveListed
  SetOutPath "$INSTDIR"
  File "/oname=${INSTALLED_LIST}" "${INSTALLED}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; A shortcut starts in the output folder of the moment.
  SetOutPath "$DOCUMENTS"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\kuptools.exe" "" "$INSTDIR\kuptools.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kuptools.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  Call un.KupProgramEnded
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Push "files"
  Call un.KupRemoveListed
  Push "folders"
  Call un.KupRemoveListed
  Delete "$INSTDIR\${INSTALLED_LIST}"
  Delete "$INSTDIR\uninstall.exe"
  ; Not /r: a folder that still holds something the user put there stays.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
