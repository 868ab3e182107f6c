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
        -DSIGN=${PROJECT_SOURCE_DIR}/scripts/sign
        -P ${PROJECT_SOURCE_DIR}/cmake/PismolotZip.cmake
    DEPENDS pismolot pismolot-render pismolot_guide
    COMMENT "Packing ${PISMOLOT_ZIP}"
    VERBATIM)


# `cmake --build <folder> --target pismolot_setup` makes the installer,
# pismolot-<version>-setup.exe, from the zip's folder, with NSIS (nsis).
# Both are signed when PISMOLOT_SIGN_PFX names a certificate (scripts/sign).
find_program(PISMOLOT_MAKENSIS makensis)
if(PISMOLOT_MAKENSIS)
    set(PISMOLOT_SETUP ${PROJECT_BINARY_DIR}/pismolot-${PROJECT_VERSION}-setup.exe)
    add_custom_target(pismolot_setup
        COMMAND ${CMAKE_COMMAND}
            -DSTAGE=${PROJECT_BINARY_DIR}/zip-stage/pismolot-${PROJECT_VERSION}
            -DOUTFILE=${PISMOLOT_SETUP} -DVERSION=${PROJECT_VERSION} -DICON=${PISMOLOT_ICO}
            -DMAKENSIS=${PISMOLOT_MAKENSIS} -DNSI=${PROJECT_SOURCE_DIR}/data/windows/pismolot.nsi
            -DCHANGELOG=${PROJECT_SOURCE_DIR}/data/changelog.in
            -DSIGN=${PROJECT_SOURCE_DIR}/scripts/sign
            -P ${PROJECT_SOURCE_DIR}/cmake/PismolotSetup.cmake
        COMMENT "Making ${PISMOLOT_SETUP}"
        VERBATIM)
    add_dependencies(pismolot_setup pismolot_zip)
else()
    message(STATUS "Installer not made: makensis not found (nsis)")
endif()
