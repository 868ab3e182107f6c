; The Windows installer, made by cmake/PismolotSetup.cmake:
;   makensis -DVERSION=1.0.0 -DSTAGE=<folder with the programs>
;     -DICON=<pismolot.ico> -DOUTFILE=<setup.exe> -DFILES=<files.nsh>
;     [-DSIGN=<scripts/sign>] pismolot.nsi
; Installs for the current user alone, without administrator rights, into
; the user's programs folder; a Start-menu entry, a desktop shortcut if
; chosen, an entry under "Apps & features", and an uninstaller. Both touch
; only the files they name (FILES) and the folders they made, once empty:
; a folder that holds anything else is not taken. /S installs and
; uninstalls silently; a failure then ends with exit status 2.
Unicode true
Target amd64-unicode
; Drawn at the screen's scaling by Windows, not stretched.
ManifestDPIAware true
SetCompressor /SOLID lzma
; No build dates in the installer: the same files make the same bytes.
SetDateSave off

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "StrFunc.nsh"
${StrStr}

!define NAME "Pismolot"
!define PUBLISHER "Pismolot developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pismolot"
!define UNINSTALLER "odinstaluj.exe"
; What an installed folder holds: its files, one a line (odinstaluj.lst).
!define LIST "odinstaluj.lst"

!ifdef SIGN
    ; Authenticode on the installer and on the uninstaller it carries.
    !finalize 'bash "${SIGN}" "%1"' = 0
    !uninstfinalize 'bash "${SIGN}" "%1"' = 0
!endif

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
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FolderPageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"

!include "${FILES}"

Var Problem

; $Problem: why $INSTDIR cannot take the program, in Polish; empty when it
; can. It can when it is absent, empty, or an earlier Pismolot (its program
; and uninstaller): anything else there is the user's, and stays untouched.
Function CheckFolder
    StrCpy $Problem ""
    ${If} ${FileExists} "$INSTDIR\pismolot.exe"
    ${AndIf} ${FileExists} "$INSTDIR\${UNINSTALLER}"
        Return
    ${EndIf}
    ${IfNot} ${FileExists} "$INSTDIR"
        Return
    ${EndIf}
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
        StrCpy $Problem "„$INSTDIR” jest plikiem, a nie folderem. Wybierz inny folder."
        Return
    ${EndIf}
    FindFirst $0 $1 "$INSTDIR\*.*"
    ${DoWhile} $1 != ""
        ${If} $1 != "."
        ${AndIf} $1 != ".."
            StrCpy $Problem "Folder „$INSTDIR” nie jest pusty i nie ma w nim wcześniejszej instalacji programu Pismolot. Wybierz pusty folder albo podaj nowy, a instalator go utworzy."
            ${Break}
        ${EndIf}
        FindNext $0 $1
    ${Loop}
    FindClose $0
FunctionEnd

Function .onInit
    ; Silently there is no folder page to say it on.
    ${If} ${Silent}
        Call CheckFolder
        ${If} $Problem != ""
            SetErrorLevel 2
            Quit
        ${EndIf}
    ${EndIf}
FunctionEnd

Function FolderPageLeave
    Call CheckFolder
    ${If} $Problem != ""
        MessageBox MB_OK|MB_ICONEXCLAMATION "$Problem"
        Abort
    ${EndIf}
FunctionEnd

; A running program's file can be neither replaced nor removed: the user is
; asked to close it first; cancelled, or silently, nothing is touched and
; the run ends with exit status 2.
!macro WaitForClosedProgram un
Function ${un}WaitForClosedProgram
    ${ForEach} $R0 0 1 + 1
        ${If} $R0 = 0
            StrCpy $R1 "$INSTDIR\pismolot.exe"
        ${Else}
            StrCpy $R1 "$INSTDIR\pismolot-render.exe"
        ${EndIf}
        ${DoWhile} ${FileExists} $R1
            ; A running program's file opens for reading only.
            ClearErrors
            FileOpen $R2 $R1 a
            ${IfNot} ${Errors}
                FileClose $R2
                ${Break}
            ${EndIf}
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Program Pismolot jest uruchomiony ($R1). Zamknij go, a potem spróbuj ponownie." /SD IDCANCEL IDRETRY retry
            SetErrorLevel 2
            Abort "Program Pismolot jest uruchomiony."
            retry:
        ${Loop}
    ${Next}
FunctionEnd
!macroend
!insertmacro WaitForClosedProgram ""
!insertmacro WaitForClosedProgram "un."

; Removes what the earlier version in $INSTDIR installed and this one does
; not, as its list names it. Entries that would reach out of the folder
; are passed over: the list is a file anyone could have changed.
Function RemoveEarlierFiles
    ClearErrors
    FileOpen $R3 "$INSTDIR\${LIST}" r
    ${If} ${Errors}
        Return
    ${EndIf}
    ${Do}
        ClearErrors
        FileRead $R3 $R0
        ${If} ${Errors}
            ${Break}
        ${EndIf}
        ; Without its line break.
        ${Do}
            StrCpy $R4 $R0 1 -1
            ${If} $R4 != "$\r"
            ${AndIf} $R4 != "$\n"
                ${Break}
            ${EndIf}
            StrCpy $R0 $R0 -1
        ${Loop}
        StrCpy $R4 $R0 1
        ${If} $R0 == ""
        ${OrIf} $R4 == "\"
        ${OrIf} $R4 == "/"
            ${Continue}
        ${EndIf}
        ${StrStr} $R5 $R0 ".."
        ${StrStr} $R6 $R0 ":"
        ${If} $R5 != ""
        ${OrIf} $R6 != ""
            ${Continue}
        ${EndIf}
        Call IsShipped
        ${If} $R1 = 0
            StrCpy $R4 $R0 1 -1
            ${If} $R4 == "\"
                RMDir "$INSTDIR\$R0"
            ${Else}
                Delete "$INSTDIR\$R0"
            ${EndIf}
        ${EndIf}
    ${Loop}
    FileClose $R3
FunctionEnd

Section "Pismolot" SecProgram
    SectionIn RO
    SetShellVarContext current
    Call CheckFolder
    ${If} $Problem != ""
        MessageBox MB_OK|MB_ICONEXCLAMATION "$Problem" /SD IDOK
        SetErrorLevel 2
        Abort "$Problem"
    ${EndIf}
    Call WaitForClosedProgram
    Call RemoveEarlierFiles
    !insertmacro PismolotInstallFiles
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "$SMPROGRAMS\Pismolot.lnk" "$INSTDIR\pismolot.exe" "" "$INSTDIR\pismolot.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pismolot.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
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

; Removes exactly this version's files, then the folders once empty. A
; file that cannot go (open in another program) is named, and the uninstaller,
; its list and the "Apps & features" entry stay, so that it can run again.
Section "Uninstall"
    SetShellVarContext current
    Call un.WaitForClosedProgram
    !insertmacro PismolotRemoveFiles
    !insertmacro PismolotRemainingFiles
    ${If} $R9 != ""
        MessageBox MB_OK|MB_ICONEXCLAMATION "Tych plików nie można usunąć, bo używa ich inny program:$R9$\r$\n$\r$\nZamknij ten program i odinstaluj Pismolot ponownie." /SD IDOK
        SetErrorLevel 2
        Abort "Nie usunięto wszystkich plików."
    ${EndIf}
    Delete "$INSTDIR\${LIST}"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Pismolot.lnk"
    Delete "$DESKTOP\Pismolot.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
