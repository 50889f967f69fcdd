# The image libraries that JUCE's image loaders call: Debian's JUCE is built to use the
# system's libpng and libjpeg instead of its own copies.
#   FIRMHOLD_IMAGE_LIBRARIES: what every executable linking firmhold_core needs.

if (WIN32)
    # Static builds from tools/windows-deps.sh (found through CMAKE_PREFIX_PATH) and
    # MinGW's static zlib, so the executable needs nothing beside Windows' own DLLs.
    set (ZLIB_USE_STATIC_LIBS ON)
    set (PNG_USE_STATIC_LIBS ON)
    find_package (ZLIB REQUIRED)
    find_package (PNG REQUIRED)
    find_package (JPEG REQUIRED)
    set (FIRMHOLD_IMAGE_LIBRARIES PNG::PNG JPEG::JPEG)
else()
    # JUCE creates this pkg-config target on Linux; a gui app target adds it itself.
    set (FIRMHOLD_IMAGE_LIBRARIES juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
endif()
