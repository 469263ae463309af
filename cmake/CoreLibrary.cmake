# The headless core: one static library per subsystem, standard library only.
#
#   toneloft_add_core_library(<name> [DEPENDS <lower subsystem>...])
#
# called from the subsystem's own folder (common/, voice/ ...) builds every .cpp
# file there into toneloft_<name> (alias Toneloft::<name>) and adds it to
# Toneloft::core, which programs and tests link to get them all.
#
# Layers are enforced by include roots: the library's only include directory is
# a folder in the build tree holding one link, <name> -> the subsystem's sources.
# A library sees its own root and those of the libraries it DEPENDS on (PUBLIC,
# so transitively), never the project root; an include that runs upwards
# ("common/" including "voice/...") is "No such file or directory".
# A Qt include anywhere in the core fails the same way (cmake/noqt).

add_library(toneloft_core INTERFACE)
add_library(Toneloft::core ALIAS toneloft_core)
# Programs and tests above the core include from the project root (app/cli/...).
target_include_directories(toneloft_core INTERFACE ${PROJECT_SOURCE_DIR})

function(toneloft_add_core_library name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "DEPENDS")
    set(target toneloft_${name})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_library(${target} STATIC ${sources})
    add_library(Toneloft::${name} ALIAS ${target})

    set(root ${CMAKE_BINARY_DIR}/include-roots/${name})
    file(MAKE_DIRECTORY ${root})
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} RESULT linked SYMBOLIC)
    if(NOT linked EQUAL 0)
        message(FATAL_ERROR "Cannot make the include root of ${name}: ${linked}")
    endif()
    target_include_directories(${target} PUBLIC ${root})
    target_include_directories(${target} BEFORE PRIVATE ${PROJECT_SOURCE_DIR}/cmake/noqt)

    target_link_libraries(${target} PUBLIC toneloft_options)
    foreach(dep IN LISTS arg_DEPENDS)
        if(NOT TARGET toneloft_${dep})
            message(FATAL_ERROR "${name} depends on ${dep}, which must be added before it")
        endif()
        target_link_libraries(${target} PUBLIC toneloft_${dep})
    endforeach()
    target_link_libraries(toneloft_core INTERFACE ${target})
endfunction()
