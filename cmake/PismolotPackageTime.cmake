# Read by cpack as it starts (CPACK_PROJECT_CONFIG_FILE): the settings that
# depend on who makes the package and when.

# The maintainer, as Debian's tools name the one who makes a package.
if(CPACK_PISMOLOT_MAINTAINER)
    set(maintainer "${CPACK_PISMOLOT_MAINTAINER}")
else()
    set(name "$ENV{DEBFULLNAME}")
    if(name STREQUAL "")
        set(name "$ENV{NAME}")
    endif()
    set(address "$ENV{DEBEMAIL}")
    if(address STREQUAL "")
        set(address "$ENV{EMAIL}")
    endif()
    # DEBEMAIL may hold the whole "Name <address>".
    if(address MATCHES "^(.*[^ ]) *<([^>]+)>$")
        if(name STREQUAL "")
            set(name "${CMAKE_MATCH_1}")
        endif()
        set(address "${CMAKE_MATCH_2}")
    endif()
    if(address STREQUAL "")
        # This account's own mailbox on this machine: true, but no address
        # a distribution takes.
        execute_process(COMMAND id -un OUTPUT_VARIABLE user OUTPUT_STRIP_TRAILING_WHITESPACE)
        execute_process(COMMAND hostname --fqdn OUTPUT_VARIABLE host OUTPUT_STRIP_TRAILING_WHITESPACE)
        set(address "${user}@${host}")
        message(WARNING "The package names ${address} as its maintainer: set DEBFULLNAME and "
                        "DEBEMAIL (or the CMake setting PISMOLOT_MAINTAINER) to name yourself.")
    endif()
    if(name STREQUAL "")
        string(REGEX REPLACE "@.*" "" name "${address}")
    endif()
    set(maintainer "${name} <${address}>")
endif()
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${maintainer}")

# Dates in the package (see PismolotSourceDate.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/PismolotSourceDate.cmake)
pismolot_source_date_epoch(${CPACK_PISMOLOT_CHANGELOG} epoch)
set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
