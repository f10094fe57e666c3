# Cross-compiling for 64-bit Windows with Debian's mingw-w64 toolchain (g++-mingw-w64-x86-64):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DMQ_BUILD_GUI=OFF
# Only the core, the tool and the core's tests build this way (Debian packages no Qt, libpng or
# libjpeg-turbo for mingw, so MQ_IMAGE_LIBRARIES is off: the tool there has no PNG output or
# JPEG input). GoogleTest is built from Debian's source package (googletest, /usr/src/googletest).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_mingw x86_64-w64-mingw32)

# The POSIX thread model: std::thread and std::mutex, which GoogleTest uses.
find_program(CMAKE_C_COMPILER NAMES ${_mingw}-gcc-posix ${_mingw}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${_mingw}-g++-posix ${_mingw}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${_mingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests run under Wine when it is there.
# Debian's wine64 package installs its loader outside PATH (the "wine" package adds the wrapper).
find_program(_wine NAMES wine wine64 PATHS /usr/lib/wine)
if(_wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${_wine})
endif()

set(MQ_IMAGE_LIBRARIES OFF CACHE BOOL "" FORCE)
set(MQ_BUILD_BENCH OFF CACHE BOOL "" FORCE)
set(MQ_GTEST_FROM_SOURCE /usr/src/googletest CACHE PATH "GoogleTest built with the cross compiler")

# One self-contained .exe each: the C++ runtime, libgcc and winpthread linked in, so that neither
# Windows nor Wine has to find mingw's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
