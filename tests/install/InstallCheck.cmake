# Installs the build into PREFIX and checks the layout and that the installed
# toneloft-cli and vxc work from there, with nothing taken from the build tree.

function(fail message)
    message(FATAL_ERROR "install_layout: ${message}")
endfunction()

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    fail("cmake --install failed (${rc}): ${err}")
endif()

set(expected
    bin/toneloft-cli bin/vxc
    share/toneloft/DXInit.dat share/toneloft/syinit.dat)
if(WITH_GUI)
    list(APPEND expected bin/toneloft share/toneloft/help/contents.htm share/toneloft/help/help.css)
endif()
foreach(f IN LISTS expected)
    if(NOT EXISTS ${PREFIX}/${f})
        fail("${f} is missing from the installation")
    endif()
endforeach()
# The read-only data live in share/, not beside the programs.
foreach(f IN ITEMS DXInit.dat syinit.dat help)
    if(EXISTS ${PREFIX}/bin/${f})
        fail("bin/${f} should not be installed")
    endif()
endforeach()

# The desktop integration passes the freedesktop and AppStream checks.
if(WITH_GUI)
    list(APPEND expected
        share/applications/toneloft.desktop share/metainfo/io.github.toneloft.Toneloft.metainfo.xml
        share/mime/packages/toneloft.xml share/icons/hicolor/scalable/apps/toneloft.svg
        share/icons/hicolor/48x48/apps/toneloft.png share/man/man1/toneloft.1)
    foreach(check IN ITEMS
            "desktop-file-validate;${PREFIX}/share/applications/toneloft.desktop"
            "appstreamcli;validate;--no-net;${PREFIX}/share/metainfo/io.github.toneloft.Toneloft.metainfo.xml")
        execute_process(COMMAND ${check} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
        if(NOT rc EQUAL 0)
            fail("${check} failed (${rc}): ${out}${err}")
        endif()
    endforeach()
endif()
list(APPEND expected share/man/man1/toneloft-cli.1 share/man/man1/vxc.1)
foreach(f IN LISTS expected)
    if(NOT EXISTS ${PREFIX}/${f})
        fail("${f} is missing from the installation")
    endif()
endforeach()

# The installed CLI reads a bank of 32 voices (a 4104-byte bulk dump).
execute_process(COMMAND ${PREFIX}/bin/toneloft-cli info ${SAMPLE}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    fail("installed toneloft-cli info failed (${rc}): ${out}${err}")
endif()
if(NOT out MATCHES "type=3\tcode=0\tvoices=32\tbanks=1")
    fail("toneloft-cli info did not report the bank's 32 voices:\n${out}")
endif()
message(STATUS "toneloft-cli info:\n${out}")

# The installed converter finds its template in share/toneloft: exit code 0 and
# an output file; 3 would be "couldn't find syinit.dat".
set(work ${PREFIX}/vxc-work)
file(MAKE_DIRECTORY ${work})
file(COPY_FILE ${SAMPLE} ${work}/SRC.SYX)
file(WRITE ${work}/vxc.ini
    "output file type=0\r\ninput file type=3\r\ninput file name=SRC.SYX\r\noutput file name=OUT.SYX\r\nlast exit code=6\r\n")
execute_process(COMMAND ${PREFIX}/bin/vxc WORKING_DIRECTORY ${work}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS ${work}/OUT.SYX)
    fail("installed vxc exited with ${rc} and no output file: ${out}${err}")
endif()
