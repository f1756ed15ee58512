# Cross-builds zav.exe for 64-bit Windows with Debian's MinGW-w64 compiler
# (apt-get install g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DZAV_BUILD_TESTS=OFF
# The posix flavour is the one whose libstdc++ has std::thread, which the
# shell's typed-out text uses.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZAV_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZAV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZAV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZAV_MINGW_PREFIX}-windres)

# Libraries and headers come from the MinGW sysroot only; programs (cmake's
# own helpers, pkg-config) from the build machine. With no Windows .pc files
# there, pkg-config finds no PCRE2 and the std::regex engine is chosen.
set(CMAKE_FIND_ROOT_PATH /usr/${ZAV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} /usr/${ZAV_MINGW_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_SYSROOT_DIR} /usr/${ZAV_MINGW_PREFIX})
