# The Wayland backend: a layer-shell client. Built only where libwayland,
# libwayland-cursor, libxkbcommon, wayland-protocols and wayland-scanner are
# found; without them the program is the X11 one alone. Defines the target
# sorimo_wayland when built.
# A static library of client glue (headers and interface tables) generated
# from protocol files with wayland-scanner; its headers are on its users'
# include path.
function(sorimo_wayland_glue target)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${target}-protocols)
  file(MAKE_DIRECTORY ${generated})
  set(glue)
  foreach(xml IN LISTS ARGN)
    get_filename_component(name ${xml} NAME_WE)
    add_custom_command(
      OUTPUT ${generated}/${name}-client.h ${generated}/${name}.c
      COMMAND ${SORIMO_WAYLAND_SCANNER} client-header ${xml} ${generated}/${name}-client.h
      COMMAND ${SORIMO_WAYLAND_SCANNER} private-code ${xml} ${generated}/${name}.c
      DEPENDS ${xml}
      COMMENT "Generating the Wayland glue of ${name}"
      VERBATIM)
    list(APPEND glue ${generated}/${name}-client.h ${generated}/${name}.c)
  endforeach()
  add_library(${target} STATIC ${glue})
  target_include_directories(${target} SYSTEM PUBLIC ${generated})
  target_link_libraries(${target} PUBLIC PkgConfig::WAYLAND)
endfunction()

pkg_check_modules(WAYLAND IMPORTED_TARGET GLOBAL wayland-client wayland-cursor xkbcommon)
pkg_check_modules(WAYLAND_PROTOCOLS wayland-protocols)
pkg_check_modules(WAYLAND_SCANNER wayland-scanner)
if(WAYLAND_SCANNER_FOUND)
  pkg_get_variable(scanner wayland-scanner wayland_scanner)
  # Known to the tests' folder too (their tools speak protocols of their own).
  set(SORIMO_WAYLAND_SCANNER ${scanner} CACHE INTERNAL "wayland-scanner")
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

sorimo_wayland_glue(sorimo_wayland_glue
  ${CMAKE_CURRENT_SOURCE_DIR}/wayland/protocol/wlr-layer-shell-unstable-v1.xml
  ${SORIMO_WAYLAND_PROTOCOLS}/stable/xdg-shell/xdg-shell.xml
  ${SORIMO_WAYLAND_PROTOCOLS}/unstable/xdg-output/xdg-output-unstable-v1.xml)

file(GLOB SORIMO_WAYLAND_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/wayland/*.cpp)
add_library(sorimo_wayland STATIC ${SORIMO_WAYLAND_SOURCES})
target_link_libraries(sorimo_wayland PUBLIC sorimo_gfx sorimo_settings sorimo_posix
                      PRIVATE sorimo_freetype sorimo_xdg sorimo_wayland_glue)
