# Run by cpack on the staged files before it packs them
# (CPACK_PRE_BUILD_SCRIPTS): what Debian's packaging helpers would do.
set(stage ${CPACK_TEMPORARY_INSTALL_DIRECTORY})
set(docdir ${stage}${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_PISMOLOT_DOCDIR})

# The binaries stripped of their debug information, symbols, compiler notes
# and comments, as dh_strip does.
file(GLOB programs ${stage}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/*)
foreach(program IN LISTS programs)
    execute_process(COMMAND ${CPACK_PISMOLOT_STRIP} --remove-section=.comment
        --remove-section=.note ${program} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "strip ${program} failed")
    endif()
endforeach()

# The changelog the project keeps, signed by the package's maintainer and
# compressed without a name or time in it.
set(PISMOLOT_MAINTAINER "${CPACK_DEBIAN_PACKAGE_MAINTAINER}")
configure_file(${CPACK_PISMOLOT_CHANGELOG} ${docdir}/changelog @ONLY)
execute_process(COMMAND ${CPACK_PISMOLOT_GZIP} -9nf ${docdir}/changelog RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip ${docdir}/changelog failed")
endif()

# Lintian's verdicts that do not hold for this package, each with its reason.
set(overrides ${stage}${CPACK_PACKAGING_INSTALL_PREFIX}/share/lintian/overrides)
file(MAKE_DIRECTORY ${overrides})
file(COPY_FILE ${CPACK_PISMOLOT_LINTIAN_OVERRIDES} ${overrides}/pismolot)

# Every staged file and folder dated SOURCE_DATE_EPOCH, so the archive's
# dates do not depend on when the files were built or installed.
file(GLOB_RECURSE staged LIST_DIRECTORIES true ${stage}/*)
execute_process(COMMAND touch -h -d @$ENV{SOURCE_DATE_EPOCH} ${stage} ${staged} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "could not date the staged files")
endif()
