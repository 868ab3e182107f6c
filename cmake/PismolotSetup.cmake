# Makes the installer: cmake -DSTAGE=<the programs' folder> -DOUTFILE=<setup.exe>
#   -DVERSION=<x.y.z> -DICON=<pismolot.ico> -DMAKENSIS=<makensis>
#   -DNSI=<pismolot.nsi> -DCHANGELOG=<changelog.in> [-DSIGN=<scripts/sign>]
#   -P PismolotSetup.cmake
# The installer names every file it puts down: the folder's files are listed
# here, into NSIS commands that install them one by one and remove exactly
# them, and into the list the installed folder keeps (odinstaluj.lst), from
# which a later version's installer learns what this one installed. With a
# certificate in PISMOLOT_SIGN_PFX the installer and its uninstaller are
# signed as makensis writes them.
foreach(var STAGE OUTFILE VERSION ICON MAKENSIS NSI CHANGELOG)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "PismolotSetup.cmake: ${var} is not set")
    endif()
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/PismolotSourceDate.cmake)
pismolot_source_date_epoch(${CHANGELOG} epoch)

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${STAGE} ${STAGE}/*)
list(SORT files)
if(NOT files)
    message(FATAL_ERROR "PismolotSetup.cmake: nothing to install in ${STAGE}")
endif()

set(dirs "")
set(install "")
set(remove "")
set(remaining "")
set(shipped "")
set(list_text "")
set(outpath "-")
foreach(file IN LISTS files)
    # The list is read back by NSIS as plain text, and its entries are
    # compared as Windows compares names: plain ASCII names only.
    if(NOT file MATCHES "^[A-Za-z0-9_@.-]+(/[A-Za-z0-9_@.-]+)*$" OR file MATCHES "(^|/)\\.\\.?(/|$)")
        message(FATAL_ERROR "PismolotSetup.cmake: a file name the installer cannot list: ${file}")
    endif()
    string(REPLACE "/" "\\" win "${file}")
    get_filename_component(dir "${file}" DIRECTORY)
    while(NOT dir STREQUAL "")
        list(APPEND dirs "${dir}")
        get_filename_component(dir "${dir}" DIRECTORY)
    endwhile()
    get_filename_component(dir "${win}" DIRECTORY)
    if(NOT dir STREQUAL outpath)
        if(dir STREQUAL "")
            string(APPEND install "    SetOutPath \"$INSTDIR\"\n")
        else()
            string(APPEND install "    SetOutPath \"$INSTDIR\\${dir}\"\n")
        endif()
        set(outpath "${dir}")
    endif()
    string(APPEND install "    File \"${STAGE}/${file}\"\n")
    string(APPEND remove "    Delete \"$INSTDIR\\${win}\"\n")
    string(APPEND remaining "    \${If} \${FileExists} \"$INSTDIR\\${win}\"\n        StrCpy $R9 \"$R9$\\r$\\n${win}\"\n    \${EndIf}\n")
    string(APPEND shipped "    StrCmp $R0 \"${win}\" yes\n")
    string(APPEND list_text "${win}\r\n")
endforeach()
# Folders deepest first, so that each is empty when its turn comes.
list(REMOVE_DUPLICATES dirs)
list(SORT dirs ORDER DESCENDING)
foreach(dir IN LISTS dirs)
    string(REPLACE "/" "\\" win "${dir}")
    string(APPEND remove "    RMDir \"$INSTDIR\\${win}\"\n")
    string(APPEND shipped "    StrCmp $R0 \"${win}\\\" yes\n")
    string(APPEND list_text "${win}\\\r\n")
endforeach()

get_filename_component(work "${OUTFILE}" DIRECTORY)
set(work ${work}/setup-files)
file(MAKE_DIRECTORY ${work})
file(WRITE ${work}/odinstaluj.lst "${list_text}")
file(WRITE ${work}/files.nsh "; What this version installs, listed from its folder by PismolotSetup.cmake.

; Puts every file down, the list of them beside.
!macro PismolotInstallFiles
${install}    SetOutPath \"$INSTDIR\"
    File \"${work}/odinstaluj.lst\"
!macroend

; Removes every file this version installs, then its folders where empty.
!macro PismolotRemoveFiles
${remove}!macroend

; $R9: the files of this version still there, one a line, each behind a
; line break; empty when all are gone.
!macro PismolotRemainingFiles
    StrCpy $R9 \"\"
${remaining}!macroend

; $R1: 1 when this version installs $R0, an entry of the list (a file, or a
; folder with a backslash behind it); 0 when it does not.
Function IsShipped
${shipped}    StrCpy $R1 0
    Return
    yes:
    StrCpy $R1 1
FunctionEnd
")

set(command ${MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${VERSION} -DSTAGE=${STAGE}
    -DICON=${ICON} -DOUTFILE=${OUTFILE} -DFILES=${work}/files.nsh)
if(NOT "$ENV{PISMOLOT_SIGN_PFX}" STREQUAL "")
    if(NOT DEFINED SIGN)
        message(FATAL_ERROR "PismolotSetup.cmake: a certificate is given but SIGN is not set")
    endif()
    list(APPEND command -DSIGN=${SIGN})
else()
    message(STATUS "The installer is not signed: no certificate given (PISMOLOT_SIGN_PFX)")
endif()
# Dated by the changelog, as the zip: the same files make the same bytes.
execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${epoch} ${command} ${NSI}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "makensis failed")
endif()
