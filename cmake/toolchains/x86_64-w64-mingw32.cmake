# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compilers.
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/x86_64-w64-mingw32.cmake ...
# The -posix thread model is the one whose C++ library has std::thread and std::mutex.

set (CMAKE_SYSTEM_NAME Windows)
set (CMAKE_SYSTEM_PROCESSOR x86_64)

set (CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set (CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set (CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Target libraries come from the MinGW sysroot and from FIRMHOLD_WINDOWS_DEPS (the
# prefix of the statically built image libraries, tools/windows-deps.sh); programs, and
# JUCE's CMake package with its juceaide, come from the build machine.
set (CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${FIRMHOLD_WINDOWS_DEPS})
set (CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set (CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set (CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set (CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

if (NOT DEFINED JUCE_DIR)
    file (GLOB _jucePackageDirs /usr/lib/*/cmake/JUCE-*)
    if (_jucePackageDirs)
        list (GET _jucePackageDirs 0 _jucePackageDir)
        set (JUCE_DIR "${_jucePackageDir}" CACHE PATH "JUCE's CMake package (the build machine's)")
    endif()
endif()
