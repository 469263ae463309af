# cmake --install: a normal Linux layout that works from any prefix.
#
#   bin/                     toneloft, toneloft-cli, toneloft-dx7, vxc (the desktop
#                            program starts the converter from its own folder)
#   share/toneloft/          DXInit.dat, syinit.dat, help/ - found by the programs
#                            as ../share/toneloft when not beside them (common/InstallPaths.h)
#   share/applications, metainfo, icons/hicolor, mime/packages, man/man1
#
# The folder names are fixed, not GNUInstallDirs variables: the programs find
# their data by the relative path bin/../share/toneloft.

set(toneloft_data_dir share/toneloft)

foreach(program IN ITEMS toneloft toneloft-cli toneloft-dx7 vxc)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION bin)
    endif()
endforeach()

install(FILES ${CMAKE_BINARY_DIR}/bin/DXInit.dat ${PROJECT_SOURCE_DIR}/vxc/data/syinit.dat
    DESTINATION ${toneloft_data_dir})
if(TARGET toneloft)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/help/ DESTINATION ${toneloft_data_dir}/help)
endif()

# Desktop integration: the menu entry, AppStream metadata, the icon, the MIME
# type of DX7 voice files (.syx, F0 43) and the manual pages.
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
if(TARGET toneloft)
    install(FILES ${packaging}/toneloft.desktop DESTINATION share/applications)
    install(FILES ${packaging}/io.github.toneloft.Toneloft.metainfo.xml DESTINATION share/metainfo)
    install(FILES ${packaging}/toneloft-mime.xml DESTINATION share/mime/packages RENAME toneloft.xml)
    install(FILES ${packaging}/toneloft.svg DESTINATION share/icons/hicolor/scalable/apps)
    foreach(size IN ITEMS 16 32 48 64 128 256)
        install(FILES ${packaging}/icons/toneloft-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME toneloft.png)
    endforeach()
    install(FILES ${packaging}/man/toneloft.1 DESTINATION share/man/man1)
endif()
install(FILES ${packaging}/man/toneloft-cli.1 ${packaging}/man/vxc.1 DESTINATION share/man/man1)
if(TARGET toneloft-dx7)
    install(FILES ${packaging}/man/toneloft-dx7.1 DESTINATION share/man/man1)
endif()

# cpack -G DEB in the build folder: a Debian package of the same layout under /usr.
set(CPACK_PACKAGE_NAME toneloft)
set(CPACK_PACKAGE_VENDOR "Toneloft")
set(CPACK_PACKAGE_CONTACT "Toneloft developers <toneloft@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor and librarian for Yamaha DX7 voices")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "jackd2 | pipewire-jack")
set(CPACK_STRIP_FILES ON)
include(CPack)
