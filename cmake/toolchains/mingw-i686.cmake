# Cross build for 32-bit Windows with the i686 MinGW-w64 compilers.
# The -posix compilers are named explicitly: the -win32 variant has no std::thread or std::mutex, and the
# unsuffixed names point at it when both are installed. Test programs run under Wine, so ctest can run
# the cross-built suite here.
#
# MINGW_DEPS_PREFIX (cache): the prefix holding our static libpng, libjpeg, libsndfile and GoogleTest builds.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_AR ${MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# SSE2 arithmetic instead of the x87 unit: floats and doubles round as on every other target rather
# than at 80 bits when the compiler chooses, so results do not change with register pressure.
# Every x86 processor since 2001 has it.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

set(MINGW_DEPS_PREFIX "" CACHE PATH "Prefix of the cross-built static libraries and GoogleTest")
# Checks run while configuring read this file again, in the same process: hand them the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MINGW_DEPS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
if(MINGW_DEPS_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${MINGW_DEPS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config would otherwise hand out the build machine's own libraries and include paths.
set(ENV{PKG_CONFIG_PATH} "")
if(MINGW_DEPS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} "${MINGW_DEPS_PREFIX}/lib/pkgconfig:/usr/${MINGW_TRIPLE}/lib/pkgconfig")
else()
  set(ENV{PKG_CONFIG_LIBDIR} "/usr/${MINGW_TRIPLE}/lib/pkgconfig")
endif()

# The system's zlib import library would make every plug-in need zlib1.dll.
set(ZLIB_LIBRARY /usr/${MINGW_TRIPLE}/lib/libz.a CACHE FILEPATH "")
set(ZLIB_INCLUDE_DIR /usr/${MINGW_TRIPLE}/include CACHE PATH "")

# Everything links statically: with only -static-libgcc -static-libstdc++ a module still needs
# libwinpthread-1.dll.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# ctest runs every test program through Wine, quietly and in the 32-bit prefix MINGW_WINE_PREFIX
# (cache) when one is given, so a plain ctest in the build directory works too.
set(MINGW_WINE_PREFIX "" CACHE PATH "32-bit Wine prefix the cross-built tests run in")
find_program(MINGW_WINE wine)
if(NOT MINGW_WINE)
  set(MINGW_WINE wine)
endif()
if(MINGW_WINE_PREFIX)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env WINEARCH=win32 WINEDEBUG=-all
      WINEPREFIX=${MINGW_WINE_PREFIX} ${MINGW_WINE})
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MINGW_WINE})
endif()
