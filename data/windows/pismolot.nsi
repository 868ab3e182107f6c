; The Windows installer: makensis -DVERSION=1.0.0 -DSTAGE=<folder with the
; programs> -DICON=<pismolot.ico> -DOUTFILE=<setup.exe> pismolot.nsi
; Installs for the current user alone, without administrator rights, into
; the user's programs folder; a Start-menu entry, a desktop shortcut if
; chosen, an entry under "Apps & features", and an uninstaller that leaves
; nothing behind. /S installs and uninstalls silently.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; No build dates in the installer: the same files make the same bytes.
SetDateSave off

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define NAME "Pismolot"
!define PUBLISHER "Pismolot developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pismolot"

Name "${NAME}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Pismolot"
; An earlier installation is replaced where it is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1045 "ProductName" "${NAME}"
VIAddVersionKey /LANG=1045 "FileDescription" "Instalator programu Pismolot"
VIAddVersionKey /LANG=1045 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1045 "LegalCopyright" "© 2026 ${PUBLISHER}, licencja MIT"
VIAddVersionKey /LANG=1045 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\pismolot.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"

; What this version installs; the uninstaller removes exactly this.
!macro Files command
    ${command} "$INSTDIR\pismolot.exe"
    ${command} "$INSTDIR\pismolot-render.exe"
    ${command} "$INSTDIR\LICENSE.txt"
    ${command} "$INSTDIR\README.txt"
!macroend

Section "Pismolot" SecProgram
    SectionIn RO
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${STAGE}\pismolot.exe"
    File "${STAGE}\pismolot-render.exe"
    File "${STAGE}\LICENSE.txt"
    File "${STAGE}\README.txt"
    ; The guide as this version has it, nothing of an older one's.
    RMDir /r "$INSTDIR\docs"
    SetOutPath "$INSTDIR\docs"
    File /r "${STAGE}\docs\*.*"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\odinstaluj.exe"
    CreateShortcut "$SMPROGRAMS\Pismolot.lnk" "$INSTDIR\pismolot.exe" "" "$INSTDIR\pismolot.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pismolot.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\odinstaluj.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\odinstaluj.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section /o "Skrót na pulpicie" SecDesktop
    SetShellVarContext current
    CreateShortcut "$DESKTOP\Pismolot.lnk" "$INSTDIR\pismolot.exe" "" "$INSTDIR\pismolot.exe" 0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Program Pismolot, pismolot-render i przewodnik."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "Skrót do programu Pismolot na pulpicie."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
    SetShellVarContext current
    !insertmacro Files Delete
    RMDir /r "$INSTDIR\docs"
    Delete "$INSTDIR\odinstaluj.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Pismolot.lnk"
    Delete "$DESKTOP\Pismolot.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
