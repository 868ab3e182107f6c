# Cross-compiling for 64-bit Windows with Debian's mingw-w64, the compilers
# with POSIX threads (std::thread and std::mutex need them). Used for Qt for
# Windows (scripts/winqt) and for the programs (scripts/windows).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PISMOLOT_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PISMOLOT_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PISMOLOT_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${PISMOLOT_MINGW}-windres)
set(CMAKE_AR ${PISMOLOT_MINGW}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${PISMOLOT_MINGW}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${PISMOLOT_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
