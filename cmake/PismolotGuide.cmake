# The user guide as a web page: docs/guide.md made HTML by pandoc at build
# time, with its pictures beside it, in the build tree's share/doc/pismolot/docs
# so that a program run from the build tree finds it as an installed one does
# (../share/... from its folder). Without pandoc the Markdown file is used.
#
# Sets PISMOLOT_GUIDE_FILE (the guide's file name) and PISMOLOT_GUIDE_DIR
# (the folder holding it and its pictures).

set(PISMOLOT_GUIDE_DIR ${PROJECT_BINARY_DIR}/${CMAKE_INSTALL_DOCDIR}/docs)
set(guide_source ${PROJECT_SOURCE_DIR}/docs/guide.md)
find_program(PISMOLOT_PANDOC pandoc)

set(guide_outputs)
foreach(window IN ITEMS editor colour about main)
    foreach(picture IN ITEMS ${window}.png ${window}@2x.png)
        add_custom_command(OUTPUT ${PISMOLOT_GUIDE_DIR}/${picture}
            COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/${picture} ${PISMOLOT_GUIDE_DIR}/${picture}
            DEPENDS ${PROJECT_SOURCE_DIR}/docs/${picture}
            VERBATIM)
        list(APPEND guide_outputs ${PISMOLOT_GUIDE_DIR}/${picture})
    endforeach()
endforeach()
# The bitmap beside the vector picture, enlarged.
add_custom_command(OUTPUT ${PISMOLOT_GUIDE_DIR}/vector-4x.png
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/vector-4x.png ${PISMOLOT_GUIDE_DIR}/vector-4x.png
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/vector-4x.png
    VERBATIM)
list(APPEND guide_outputs ${PISMOLOT_GUIDE_DIR}/vector-4x.png)

if(PISMOLOT_PANDOC)
    set(PISMOLOT_GUIDE_FILE guide.html)
    add_custom_command(OUTPUT ${PISMOLOT_GUIDE_DIR}/guide.html
        COMMAND ${PISMOLOT_PANDOC} --from=gfm --to=html5 --standalone
            "--metadata=pagetitle:Pismolot — przewodnik / user guide"
            --output=${PISMOLOT_GUIDE_DIR}/guide.html ${guide_source}
        DEPENDS ${guide_source}
        COMMENT "Making the user guide's page"
        VERBATIM)
else()
    message(STATUS "User guide installed as Markdown: pandoc not found (pandoc)")
    set(PISMOLOT_GUIDE_FILE guide.md)
    add_custom_command(OUTPUT ${PISMOLOT_GUIDE_DIR}/guide.md
        COMMAND ${CMAKE_COMMAND} -E copy ${guide_source} ${PISMOLOT_GUIDE_DIR}/guide.md
        DEPENDS ${guide_source}
        VERBATIM)
endif()
list(APPEND guide_outputs ${PISMOLOT_GUIDE_DIR}/${PISMOLOT_GUIDE_FILE})
add_custom_target(pismolot_guide ALL DEPENDS ${guide_outputs})
