# The portable program's folder (scripts/windows zips it): both programs, the
# guide with its pictures, the licence and a short read-me, side by side.
install(TARGETS pismolot pismolot-render RUNTIME DESTINATION .)
install(DIRECTORY ${PISMOLOT_GUIDE_DIR}/ DESTINATION docs)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${PROJECT_SOURCE_DIR}/data/windows/README.txt DESTINATION .)

# `cmake --build <folder> --target pismolot_zip` packs the portable zip,
# pismolot-<version>-win64.zip, in the build folder.
if(NOT CMAKE_STRIP)
    find_program(CMAKE_STRIP NAMES ${PISMOLOT_MINGW}-strip strip)
endif()
set(PISMOLOT_ZIP ${PROJECT_BINARY_DIR}/pismolot-${PROJECT_VERSION}-win64.zip)
add_custom_target(pismolot_zip
    COMMAND ${CMAKE_COMMAND} -DBUILD=${PROJECT_BINARY_DIR} -DZIP=${PISMOLOT_ZIP}
        -DFOLDER=pismolot-${PROJECT_VERSION} -DSTRIP=${CMAKE_STRIP}
        -DCHANGELOG=${PROJECT_SOURCE_DIR}/data/changelog.in
        -P ${PROJECT_SOURCE_DIR}/cmake/PismolotZip.cmake
    DEPENDS pismolot pismolot-render pismolot_guide
    COMMENT "Packing ${PISMOLOT_ZIP}"
    VERBATIM)

include(PismolotSourceDate)

# `cmake --build <folder> --target pismolot_setup` makes the installer,
# pismolot-<version>-setup.exe, from the zip's folder, with NSIS (nsis).
find_program(PISMOLOT_MAKENSIS makensis)
if(PISMOLOT_MAKENSIS)
    set(PISMOLOT_SETUP ${PROJECT_BINARY_DIR}/pismolot-${PROJECT_VERSION}-setup.exe)
    pismolot_source_date_epoch(${PROJECT_SOURCE_DIR}/data/changelog.in setup_epoch)
    add_custom_target(pismolot_setup
        COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${setup_epoch}
            ${PISMOLOT_MAKENSIS} -V2 -INPUTCHARSET UTF8
            -DVERSION=${PROJECT_VERSION}
            -DSTAGE=${PROJECT_BINARY_DIR}/zip-stage/pismolot-${PROJECT_VERSION}
            -DICON=${PISMOLOT_ICO} -DOUTFILE=${PISMOLOT_SETUP}
            ${PROJECT_SOURCE_DIR}/data/windows/pismolot.nsi
        DEPENDS ${PROJECT_SOURCE_DIR}/data/windows/pismolot.nsi
        COMMENT "Making ${PISMOLOT_SETUP}"
        VERBATIM)
    add_dependencies(pismolot_setup pismolot_zip)
else()
    message(STATUS "Installer not made: makensis not found (nsis)")
endif()
