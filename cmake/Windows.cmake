# Windows specifics of the application target.

# The executable carries its C and C++ runtimes and the image libraries inside, so that it
# runs on a bare Windows (or Wine) with only the system's own DLLs.
if (MINGW)
    target_link_options (Firmhold PRIVATE -static -static-libgcc -static-libstdc++)

    # MinGW's linker adds no manifest of its own (Visual Studio's does). Without one Windows
    # guesses from the file name whether a program installs something and asks to elevate
    # it, and runs it with the oldest compatibility settings.
    set (FIRMHOLD_MANIFEST "${PROJECT_SOURCE_DIR}/packaging/windows/Firmhold.manifest")
    configure_file ("${PROJECT_SOURCE_DIR}/packaging/windows/Firmhold.rc.in"
                    "${PROJECT_BINARY_DIR}/packaging/Firmhold.rc" @ONLY)
    target_sources (Firmhold PRIVATE "${PROJECT_BINARY_DIR}/packaging/Firmhold.rc")
    set_property (SOURCE "${PROJECT_BINARY_DIR}/packaging/Firmhold.rc" APPEND PROPERTY
                  OBJECT_DEPENDS "${FIRMHOLD_MANIFEST}")
endif()

# JUCE's icon writer stores each size once, at 32 bits. The Windows icon
# (tools/make_icons.sh) also holds 8- and 4-bit images of each size: put it where JUCE's
# resource script takes the icon from.
get_target_property (_juceIcon Firmhold JUCE_ICON_FILE)
if (_juceIcon)
    configure_file ("${PROJECT_SOURCE_DIR}/packaging/icons/firmhold.ico" "${_juceIcon}" COPYONLY)
    # The compiled resources must follow the icon, not only the script naming it.
    get_target_property (_juceCode Firmhold JUCE_GENERATED_SOURCES_DIRECTORY)
    get_target_property (_appSourceDir Firmhold SOURCE_DIR)
    set_property (SOURCE "${_juceCode}/resources.rc" DIRECTORY "${_appSourceDir}"
                  APPEND PROPERTY OBJECT_DEPENDS "${_juceIcon}")
endif()

# JUCE lists the icon as a bundle resource, which only means something on macOS; without
# this, install() would ask for a folder to put it in.
set_target_properties (Firmhold PROPERTIES RESOURCE "")
