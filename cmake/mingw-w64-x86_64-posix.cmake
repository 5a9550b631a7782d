# Cross-building for 64-bit Windows with mingw-w64 GCC (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KS_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${KS_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KS_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${KS_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KS_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages also from CMAKE_PREFIX_PATH: applications find an installed Kestrel5.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Every program built here runs through Wine; the wrapper also judges the
# outcome of test programs (see tools/wine-run).
get_filename_component(_ks_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_ks_root}/tools/wine-run")
