# What `cmake --install` puts where, and the packages CPack makes of it:
#   Linux:   a Debian package (cpack -G DEB) installing under /usr
#   Windows: a zip (cpack -G ZIP) with Firmhold.exe, the licence and a short read-me
# tools/package.sh builds both.

set (CPACK_PACKAGE_NAME "firmhold")
set (CPACK_PACKAGE_VENDOR "Quillon")
set (CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set (CPACK_PACKAGE_DESCRIPTION_SUMMARY "firmware updater for the Corvane Chorus guitar pedal")
set (CPACK_PACKAGE_CONTACT "Firmhold developers <dev@firmhold.example>")
set (CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set (CPACK_STRIP_FILES TRUE)
set (CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
     OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if (WIN32)
    install (TARGETS Firmhold RUNTIME DESTINATION .)
    install (FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION .)
    install (FILES "${PROJECT_SOURCE_DIR}/packaging/windows/README.txt" DESTINATION .)

    set (CPACK_GENERATOR ZIP)
    set (CPACK_PACKAGE_FILE_NAME "Firmhold-${PROJECT_VERSION}-windows-x64")
    set (CPACK_INCLUDE_TOPLEVEL_DIRECTORY TRUE)
else()
    include (GNUInstallDirs)
    set (_linux "${PROJECT_SOURCE_DIR}/packaging/linux")
    set (_gen "${PROJECT_BINARY_DIR}/packaging")

    # Debian's names: lower case for the program (renamed when installed, so that the
    # build tree keeps its own name), compressed documents without time stamps.
    install (TARGETS Firmhold RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install (CODE "file (RENAME \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/Firmhold\"
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/firmhold\")")
    install (FILES "${_linux}/firmhold.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install (FILES "${_linux}/io.github.quillon.firmhold.metainfo.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    foreach (_px 16 32 48 256)
        install (FILES "${PROJECT_SOURCE_DIR}/packaging/icons/firmhold_${_px}.png"
                 DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_px}x${_px}/apps
                 RENAME firmhold.png)
    endforeach()

    file (MAKE_DIRECTORY "${_gen}")
    foreach (_doc firmhold.1 changelog)
        add_custom_command (OUTPUT "${_gen}/${_doc}.gz"
                            COMMAND gzip -9nc "${_linux}/${_doc}" > "${_gen}/${_doc}.gz"
                            DEPENDS "${_linux}/${_doc}")
    endforeach()
    add_custom_target (firmhold_package_docs ALL DEPENDS "${_gen}/firmhold.1.gz" "${_gen}/changelog.gz")
    install (FILES "${_gen}/firmhold.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install (FILES "${_linux}/copyright" "${_gen}/changelog.gz" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/firmhold)

    set (CPACK_GENERATOR DEB)
    set (CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set (CPACK_DEBIAN_PACKAGE_SECTION sound)
    set (CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set (CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # JUCE opens the X11 libraries itself at run time, so dpkg-shlibdeps cannot see them.
    set (CPACK_DEBIAN_PACKAGE_DEPENDS "libx11-6, libxext6, libxcursor1, libxinerama1, libxrandr2, libxrender1")
    set (CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
    # The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the text below it (without
    # double quotes, which CPack's control file writer mangles).
    set (CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[Firmhold installs new firmware into the Corvane Chorus guitar pedal over
USB-MIDI. The user picks the pedal's MIDI output port, presses update and
watches the progress bar until the update has completed. The firmware
image 1.1.01 (revision 272) is built in; another SysEx image can be given
on the command line, and the update can also run unattended.]=])
endif()

include (CPack)
