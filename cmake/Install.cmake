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
