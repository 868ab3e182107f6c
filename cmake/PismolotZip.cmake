# Packs the portable zip: cmake -DBUILD=<build folder> -DZIP=<file.zip>
#   -DFOLDER=<top folder in the zip> -DSTRIP=<strip> -DCHANGELOG=<changelog.in>
#   [-DSTAGE=<folder to lay it out in, BUILD/zip-stage>] [-DSIGN=<scripts/sign>]
#   -P PismolotZip.cmake
# The build's install rules lay out the folder, the programs are stripped,
# and the zip lists its files in sorted order, each dated by
# SOURCE_DATE_EPOCH or the changelog (in UTC), so the same build packs into
# the same bytes. With a certificate in PISMOLOT_SIGN_PFX the programs are
# signed (scripts/sign) after stripping, which would otherwise drop the
# signature; without one they stay unsigned, and reproducible.
foreach(var BUILD ZIP FOLDER STRIP CHANGELOG)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "PismolotZip.cmake: ${var} is not set")
    endif()
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/PismolotSourceDate.cmake)
pismolot_source_date_epoch(${CHANGELOG} EPOCH)

if(DEFINED STAGE)
    set(stage ${STAGE})
else()
    set(stage ${BUILD}/zip-stage)
endif()
file(REMOVE_RECURSE ${stage})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${stage}/${FOLDER}
    OUTPUT_QUIET RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "installing into ${stage} failed")
endif()
file(GLOB programs ${stage}/${FOLDER}/*.exe)
foreach(program IN LISTS programs)
    # Dated EPOCH too: strip writes the time into a PE header otherwise.
    execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${EPOCH}
        ${STRIP} --strip-all ${program} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${STRIP} ${program} failed")
    endif()
endforeach()
if(NOT "$ENV{PISMOLOT_SIGN_PFX}" STREQUAL "")
    if(NOT DEFINED SIGN)
        message(FATAL_ERROR "PismolotZip.cmake: a certificate is given but SIGN is not set")
    endif()
    execute_process(COMMAND bash ${SIGN} ${programs} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "signing the programs failed")
    endif()
else()
    message(STATUS "The programs are not signed: no certificate given (PISMOLOT_SIGN_PFX)")
endif()

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${stage} ${stage}/*)
list(SORT files)
# Every file dated EPOCH, packed by Info-ZIP without its extra fields (owner,
# access times) in UTC, so the zip holds nothing of this build's moment.
foreach(file IN LISTS files)
    execute_process(COMMAND touch -h -d @${EPOCH} ${stage}/${file})
endforeach()
file(REMOVE ${ZIP})
find_program(ZIP_PROGRAM zip REQUIRED)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${ZIP_PROGRAM} -X -D -q -9 ${ZIP} -- ${files}
    WORKING_DIRECTORY ${stage}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "packing ${ZIP} failed")
endif()
