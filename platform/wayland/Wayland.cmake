# The Wayland backend: a layer-shell client. Built only where libwayland,
# libwayland-cursor, libxkbcommon, wayland-protocols and wayland-scanner are
# found; without them the program is the X11 one alone. Defines the target
# sorimo_wayland when built.
pkg_check_modules(WAYLAND IMPORTED_TARGET wayland-client wayland-cursor xkbcommon)
pkg_check_modules(WAYLAND_PROTOCOLS wayland-protocols)
pkg_check_modules(WAYLAND_SCANNER wayland-scanner)
if(WAYLAND_SCANNER_FOUND)
  pkg_get_variable(SORIMO_WAYLAND_SCANNER wayland-scanner wayland_scanner)
endif()
if(WAYLAND_PROTOCOLS_FOUND)
  pkg_get_variable(SORIMO_WAYLAND_PROTOCOLS wayland-protocols pkgdatadir)
endif()
if(NOT WAYLAND_FOUND OR NOT SORIMO_WAYLAND_SCANNER OR NOT SORIMO_WAYLAND_PROTOCOLS)
  message(STATUS "Wayland backend: off (libwayland-dev, libxkbcommon-dev, wayland-protocols not all found)")
  return()
endif()
message(STATUS "Wayland backend: on")
enable_language(C)

# Client glue for each protocol: a header and the interface tables.
set(generated ${CMAKE_CURRENT_BINARY_DIR}/wayland-protocols)
file(MAKE_DIRECTORY ${generated})
set(SORIMO_WAYLAND_GLUE)
foreach(xml IN ITEMS
    ${CMAKE_CURRENT_SOURCE_DIR}/wayland/protocol/wlr-layer-shell-unstable-v1.xml
    ${SORIMO_WAYLAND_PROTOCOLS}/stable/xdg-shell/xdg-shell.xml
    ${SORIMO_WAYLAND_PROTOCOLS}/unstable/xdg-output/xdg-output-unstable-v1.xml)
  get_filename_component(name ${xml} NAME_WE)
  add_custom_command(
    OUTPUT ${generated}/${name}-client.h ${generated}/${name}.c
    COMMAND ${SORIMO_WAYLAND_SCANNER} client-header ${xml} ${generated}/${name}-client.h
    COMMAND ${SORIMO_WAYLAND_SCANNER} private-code ${xml} ${generated}/${name}.c
    DEPENDS ${xml}
    COMMENT "Generating the Wayland glue of ${name}"
    VERBATIM)
  list(APPEND SORIMO_WAYLAND_GLUE ${generated}/${name}-client.h ${generated}/${name}.c)
endforeach()
add_library(sorimo_wayland_glue STATIC ${SORIMO_WAYLAND_GLUE})
target_include_directories(sorimo_wayland_glue SYSTEM PUBLIC ${generated})
target_link_libraries(sorimo_wayland_glue PUBLIC PkgConfig::WAYLAND)

file(GLOB SORIMO_WAYLAND_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/wayland/*.cpp)
add_library(sorimo_wayland STATIC ${SORIMO_WAYLAND_SOURCES})
target_link_libraries(sorimo_wayland PUBLIC sorimo_gfx sorimo_settings sorimo_posix
                      PRIVATE sorimo_freetype sorimo_xdg sorimo_wayland_glue)
