# Warnings, sanitizers and fuzzing instrumentation, each in the syntax of the
# compiler in use.

if(MSVC)
    add_compile_options(/W4 /permissive- /utf-8)
elseif(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-Wall -Wextra -Wpedantic)
endif()

# The distribution's hardening, as its packages are built (fortified
# functions, the stack protector, full RELRO with BIND_NOW, PIE), taken from
# dpkg-buildflags where it exists, for the optimised build types only (glibc's
# fortification needs the optimiser). The sanitizer and fuzzing builds find
# faults and keep their own instrumentation instead.
option(PISMOLOT_DISTRIBUTION_FLAGS "Build with the distribution's hardening flags (dpkg-buildflags)" ON)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
find_program(PISMOLOT_DPKG_BUILDFLAGS dpkg-buildflags)
if(PISMOLOT_DISTRIBUTION_FLAGS AND PISMOLOT_DPKG_BUILDFLAGS AND NOT PISMOLOT_SANITIZE
   AND NOT PISMOLOT_FUZZ AND NOT WIN32)
    set(optimised $<NOT:$<CONFIG:Debug>>)
    foreach(kind IN ITEMS CPPFLAGS CXXFLAGS LDFLAGS)
        # Its file-path mappings are of the folder it runs in; the ones below
        # maps the source and build folders instead.
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env
                "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-fixfilepath,-fixdebugpath"
                ${PISMOLOT_DPKG_BUILDFLAGS} --get ${kind}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
            RESULT_VARIABLE result)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "dpkg-buildflags --get ${kind} failed")
        endif()
        separate_arguments(flags UNIX_COMMAND "${flags}")
        # The build type sets the optimisation and the debug information.
        list(FILTER flags EXCLUDE REGEX "^-O|^-g$")
        # Level 3 checks buffers whose size is known at run time only too,
        # which is most of this program's (and what later dpkg gives).
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12)
            list(TRANSFORM flags REPLACE "^-D_FORTIFY_SOURCE=2$" "-D_FORTIFY_SOURCE=3")
            if("-D_FORTIFY_SOURCE=3" IN_LIST flags)
                list(PREPEND flags -U_FORTIFY_SOURCE)
            endif()
        endif()
        if(kind STREQUAL "LDFLAGS")
            add_link_options("$<${optimised}:${flags}>")
        else()
            add_compile_options("$<${optimised}:${flags}>")
        endif()
    endforeach()
endif()

# On Windows each program is one file: the C and C++ runtimes and the
# threads library are linked in, so it imports only the system's own DLLs.
# (The distribution's hardening above is ELF's; PE gets ASLR and DEP from
# the linker's defaults.)
# No link time in the programs' headers either, so that they are reproducible.
if(MINGW)
    add_link_options(-static -Wl,--no-insert-timestamp)
endif()

# No build folder in the binaries and their debug information, so that the
# same sources give the same bytes wherever they are built. The build folder
# is mapped last so that it wins when it lies inside the source folder.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                        -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
endif()

if(PISMOLOT_SANITIZE)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                            -fno-sanitize-recover=undefined)
        add_link_options(-fsanitize=address,undefined)
    elseif(MSVC)
        add_compile_options(/fsanitize=address)
    else()
        message(WARNING "PISMOLOT_SANITIZE: no sanitizer flags known for ${CMAKE_CXX_COMPILER_ID}")
    endif()
endif()

# libFuzzer comes with clang: every library is compiled with its coverage
# hooks, and each fuzz target links the fuzzer's own main (fuzz/CMakeLists.txt).
set(PISMOLOT_CAN_FUZZ OFF)
if(PISMOLOT_FUZZ)
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        include(CheckCXXSourceCompiles)
        set(CMAKE_REQUIRED_FLAGS "-fsanitize=fuzzer")
        check_cxx_source_compiles([[
            #include <cstddef>
            #include <cstdint>
            extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }
        ]] PISMOLOT_HAVE_LIBFUZZER)
        unset(CMAKE_REQUIRED_FLAGS)
        if(PISMOLOT_HAVE_LIBFUZZER)
            set(PISMOLOT_CAN_FUZZ ON)
            add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                                -fno-sanitize-recover=undefined)
            add_link_options(-fsanitize=address,undefined)
        endif()
    endif()
    if(NOT PISMOLOT_CAN_FUZZ)
        message(STATUS "Fuzz targets skipped: they need clang with libFuzzer (clang, libclang-rt-dev)")
    endif()
endif()

# pismolot_strict_qt()
# Qt's opt-in strictness for the program's own code, given to every target
# made in the calling folder and the folders below it: a text never becomes a
# QString by an implicit (and encoding-blind) conversion from a C string, so
# every user-visible text is written as QStringLiteral (comparisons and ASCII
# pieces as QLatin1String); nor is a QString silently made a C string, a
# QByteArray a pointer or a QString a QUrl; and connect() refuses a narrowing
# conversion between a signal's and a slot's arguments. src/ and cli/ call it
# at their top. The tests, benchmarks, tools and fuzz targets keep Qt's
# implicit conversions: they compare with and build many ASCII strings and
# show no text to users.
function(pismolot_strict_qt)
    set_property(DIRECTORY APPEND PROPERTY COMPILE_DEFINITIONS
        QT_NO_CAST_FROM_ASCII
        QT_NO_CAST_TO_ASCII
        QT_NO_CAST_FROM_BYTEARRAY
        QT_NO_URL_CAST_FROM_STRING
        QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
        QT_NO_FOREACH)
endfunction()
