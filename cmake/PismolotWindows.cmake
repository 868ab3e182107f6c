# What a Windows build adds: each program's icon, version and manifest
# resources, the plugins a static Qt links in, Qt's Polish translations built
# into the program, and the programs' layout beside the guide (the portable
# zip's, scripts/windows).

set(PISMOLOT_WINDOWS_DIR ${PROJECT_SOURCE_DIR}/data/windows)
set(PISMOLOT_ICO ${PROJECT_BINARY_DIR}/data/pismolot.ico)
set(PISMOLOT_MANIFEST ${PROJECT_BINARY_DIR}/data/pismolot.manifest)
configure_file(${PISMOLOT_WINDOWS_DIR}/pismolot.manifest.in ${PISMOLOT_MANIFEST} @ONLY)

# The icon, drawn by the icon tool (run under Wine when cross-building).
add_custom_command(OUTPUT ${PISMOLOT_ICO}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/data
    COMMAND pismolot_iconfiles --ico ${PISMOLOT_ICO} 16 20 24 32 40 48 64 256
    DEPENDS pismolot_iconfiles
    COMMENT "Drawing the program's Windows icon"
    VERBATIM)
add_custom_target(pismolot_ico DEPENDS ${PISMOLOT_ICO})

# pismolot_windows_program(target NAME DESCRIPTION)
# Gives `target` the program's icon, a version resource that names it
# (Polish description) and the manifest: common controls 6, Windows 10 and 11,
# per-monitor DPI awareness.
function(pismolot_windows_program target name description)
    set(PISMOLOT_RC_NAME ${name})
    set(PISMOLOT_RC_DESCRIPTION ${description})
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc)
    configure_file(${PISMOLOT_WINDOWS_DIR}/pismolot.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES
        OBJECT_DEPENDS "${PISMOLOT_ICO};${PISMOLOT_MANIFEST}")
    add_dependencies(${target} pismolot_ico)
endfunction()

# Qt's own dialogs in Polish: its translation is a resource of the program,
# as no Qt is installed beside it.
set(PISMOLOT_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH
    "Where Qt's translations (qtbase_pl.qm) are found to build in")
function(pismolot_builtin_qt_translations target)
    set(qm ${PISMOLOT_QT_TRANSLATIONS}/qtbase_pl.qm)
    if(NOT EXISTS ${qm})
        message(FATAL_ERROR "${qm} not found: install qt6-translations-l10n")
    endif()
    qt_add_resources(${target} pismolot_qt_translations
        PREFIX /translations BASE ${PISMOLOT_QT_TRANSLATIONS} FILES ${qm})
endfunction()

# Tests and the programs that want a headless platform find theirs linked in.
function(pismolot_headless_platforms target)
    qt_import_plugins(${target}
        INCLUDE Qt6::QMinimalIntegrationPlugin Qt6::QOffscreenIntegrationPlugin)
endfunction()
