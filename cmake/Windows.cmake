# The Windows executable carries its C and C++ runtimes and the image libraries inside,
# so that it runs on a bare Windows (or Wine) with only the system's own DLLs.

if (MINGW)
    target_link_options (Firmhold PRIVATE -static -static-libgcc -static-libstdc++)
endif()
