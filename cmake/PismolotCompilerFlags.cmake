# Warnings, sanitizers and fuzzing instrumentation, each in the syntax of the
# compiler in use.

if(MSVC)
    add_compile_options(/W4 /permissive- /utf-8)
elseif(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-Wall -Wextra -Wpedantic)
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
