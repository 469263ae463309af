# The Qt windows (toneloft_gui), the desktop program (toneloft) and its help pages.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets PrintSupport)

file(GLOB gui_sources CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/*/ui/*.cpp
    ${PROJECT_SOURCE_DIR}/*/ui/*.h)
add_library(toneloft_gui STATIC ${gui_sources})
add_library(Toneloft::gui ALIAS toneloft_gui)
set_target_properties(toneloft_gui PROPERTIES AUTOMOC ON)
target_include_directories(toneloft_gui PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(toneloft_gui PUBLIC Toneloft::core Qt6::Widgets Qt6::PrintSupport toneloft_options)
target_compile_definitions(toneloft_gui PUBLIC TONELOFT_VERSION="${PROJECT_VERSION}")

# The help pages travel beside the program, in bin/help.
file(GLOB help_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/help/*)
set(help_stamp ${CMAKE_BINARY_DIR}/help.stamp)
add_custom_command(OUTPUT ${help_stamp}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/help
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${help_pages} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/help
    COMMAND ${CMAKE_COMMAND} -E touch ${help_stamp}
    DEPENDS ${help_pages}
    COMMENT "Copying the help pages")
add_custom_target(toneloft_help ALL DEPENDS ${help_stamp})

file(GLOB app_gui_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/app/gui/*.cpp)
add_executable(toneloft ${app_gui_sources})
target_link_libraries(toneloft PRIVATE Toneloft::gui)
add_dependencies(toneloft toneloft_help)
if(TARGET toneloft_rtmidi)
    target_link_libraries(toneloft PRIVATE Toneloft::rtmidi)
    target_compile_definitions(toneloft PRIVATE TONELOFT_HAVE_RTMIDI)
endif()
if(TARGET toneloft_rtaudio)
    target_link_libraries(toneloft PRIVATE Toneloft::rtaudio)
    target_compile_definitions(toneloft PRIVATE TONELOFT_HAVE_RTAUDIO)
endif()
