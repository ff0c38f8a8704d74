# Image resources are kept as XPM text files and turned into C++ sources at
# build time (cmake/XpmToCpp.cmake). A malformed image fails the build.
function(sorimo_embed_images target)
  set(generated)
  foreach(xpm IN LISTS ARGN)
    get_filename_component(name ${xpm} NAME_WE)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/embedded_${name}.cpp)
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_CURRENT_SOURCE_DIR}/${xpm} -DOUTPUT=${out}
              -DNAME=${name} -P ${PROJECT_SOURCE_DIR}/cmake/XpmToCpp.cmake
      DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${xpm} ${PROJECT_SOURCE_DIR}/cmake/XpmToCpp.cmake
      COMMENT "Embedding image ${xpm}"
      VERBATIM)
    list(APPEND generated ${out})
  endforeach()
  target_sources(${target} PRIVATE ${generated})
endfunction()
