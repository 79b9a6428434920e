# SPDX-License-Identifier: GPL-3.0-or-later
# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model, which
# std::thread and Qt need). Used for Qt itself and for Pendro (scripts/windows.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PENDRO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PENDRO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PENDRO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PENDRO_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${PENDRO_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${PENDRO_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries and headers come from the MinGW sysroot and the prefixes given in
# CMAKE_PREFIX_PATH (the cross-built Qt); programs run during the build come from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${PENDRO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
