# Where everything goes on `cmake --install`, in the desktop's usual layout
# (GNUInstallDirs is included at the top).

install(TARGETS pismolot pismolot-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Wayland matches a window to its desktop entry by this name.
target_compile_definitions(pismolot PRIVATE PISMOLOT_APP_ID="${PISMOLOT_APP_ID}")

set(PISMOLOT_DATA_OUT ${PROJECT_BINARY_DIR}/data)
configure_file(${PROJECT_SOURCE_DIR}/data/pismolot.desktop.in
    ${PISMOLOT_DATA_OUT}/${PISMOLOT_APP_ID}.desktop @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/pismolot.metainfo.xml.in
    ${PISMOLOT_DATA_OUT}/${PISMOLOT_APP_ID}.metainfo.xml @ONLY)

install(FILES ${PISMOLOT_DATA_OUT}/${PISMOLOT_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PISMOLOT_DATA_OUT}/${PISMOLOT_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PISMOLOT_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/data/man/pismolot.1 ${PROJECT_SOURCE_DIR}/data/man/pismolot-render.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/data/completion/pismolot-render.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME pismolot-render)

# The README, the licence and the user guide with its pictures, laid out as in
# the source tree so that the README's links hold. Debian also wants the
# licence as a machine-readable "copyright" file in the same folder.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE PISMOLOT_LICENSE_TEXT)
string(FIND "${PISMOLOT_LICENSE_TEXT}" "Permission is hereby granted" permission)
string(SUBSTRING "${PISMOLOT_LICENSE_TEXT}" ${permission} -1 PISMOLOT_LICENSE_TEXT)
string(REGEX REPLACE "\n+$" "" PISMOLOT_LICENSE_TEXT "${PISMOLOT_LICENSE_TEXT}")
string(REGEX REPLACE "\n\n" "\n.\n" PISMOLOT_LICENSE_TEXT "${PISMOLOT_LICENSE_TEXT}")
string(REGEX REPLACE "\n" "\n " PISMOLOT_LICENSE_TEXT "${PISMOLOT_LICENSE_TEXT}")
configure_file(${PROJECT_SOURCE_DIR}/data/copyright.in ${PISMOLOT_DATA_OUT}/copyright @ONLY)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE ${PISMOLOT_DATA_OUT}/copyright
    DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Each window's picture at 100 % and, for HiDPI screens, at 200 % (@2x).
set(guide_pictures)
foreach(window IN ITEMS editor colour about main)
    list(APPEND guide_pictures ${PROJECT_SOURCE_DIR}/docs/${window}.png
        ${PROJECT_SOURCE_DIR}/docs/${window}@2x.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.md ${guide_pictures}
    DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
