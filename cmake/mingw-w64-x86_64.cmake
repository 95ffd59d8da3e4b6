# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix).
# The posix thread model gives std::thread and std::atomic waits their full library.
# Programs are linked statically, so they run on a bare Windows 10/11 without the
# compiler's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(AJUSTOR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${AJUSTOR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${AJUSTOR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${AJUSTOR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${AJUSTOR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine on the build machine (wine64 where it is on its own).
find_program(AJUSTOR_WINE NAMES wine64 wine)
if(AJUSTOR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${AJUSTOR_WINE})
endif()
