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
# Manual pages compressed as distributions ship them; -n leaves the name and
# the time out of the gzip header, so the same page gives the same bytes.
find_program(PISMOLOT_GZIP gzip)
set(man_pages)
foreach(page IN ITEMS pismolot pismolot-render)
    set(page_source ${PROJECT_SOURCE_DIR}/data/man/${page}.1)
    if(PISMOLOT_GZIP)
        set(page_out ${PISMOLOT_DATA_OUT}/man/${page}.1.gz)
        add_custom_command(OUTPUT ${page_out}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${PISMOLOT_DATA_OUT}/man
            COMMAND ${PISMOLOT_GZIP} -9n -c ${page_source} > ${page_out}
            DEPENDS ${page_source}
            VERBATIM)
        list(APPEND man_pages ${page_out})
    else()
        list(APPEND man_pages ${page_source})
    endif()
endforeach()
add_custom_target(pismolot_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/data/completion/pismolot-render.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME pismolot-render)

# The README and the user guide with its pictures, laid out as in the source
# tree so that the README's links hold; in the installed README they lead to
# the guide's page and to "copyright", Debian's machine-readable form of the
# licence, which is the licence's one installed copy.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE PISMOLOT_LICENSE_TEXT)
string(FIND "${PISMOLOT_LICENSE_TEXT}" "Permission is hereby granted" permission)
string(SUBSTRING "${PISMOLOT_LICENSE_TEXT}" ${permission} -1 PISMOLOT_LICENSE_TEXT)
string(REGEX REPLACE "\n+$" "" PISMOLOT_LICENSE_TEXT "${PISMOLOT_LICENSE_TEXT}")
string(REGEX REPLACE "\n\n" "\n.\n" PISMOLOT_LICENSE_TEXT "${PISMOLOT_LICENSE_TEXT}")
string(REGEX REPLACE "\n" "\n " PISMOLOT_LICENSE_TEXT "${PISMOLOT_LICENSE_TEXT}")
configure_file(${PROJECT_SOURCE_DIR}/data/copyright.in ${PISMOLOT_DATA_OUT}/copyright @ONLY)
file(READ ${PROJECT_SOURCE_DIR}/README.md readme)
string(REPLACE "[docs/guide.md](docs/guide.md)"
    "[docs/${PISMOLOT_GUIDE_FILE}](docs/${PISMOLOT_GUIDE_FILE})" readme "${readme}")
string(REPLACE "(LICENSE)" "(copyright)" readme "${readme}")
file(WRITE ${PISMOLOT_DATA_OUT}/README.md.new "${readme}")
file(COPY_FILE ${PISMOLOT_DATA_OUT}/README.md.new ${PISMOLOT_DATA_OUT}/README.md ONLY_IF_DIFFERENT)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/README.md)
install(FILES ${PISMOLOT_DATA_OUT}/README.md ${PISMOLOT_DATA_OUT}/copyright
    DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PISMOLOT_GUIDE_DIR}/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
# The Windows pictures that the README shows.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/windows DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs
    FILES_MATCHING PATTERN "*.png")
