# Turns one XPM image into a C++ source that defines it as a
# resources::EmbeddedImage (resources/EmbeddedImage.h).
#
#   cmake -DINPUT=<file.xpm> -DOUTPUT=<file.cpp> -DNAME=<snake_name> -P XpmToCpp.cmake
#
# NAME "cell_strip" defines resources::kCellStrip, which resources/Images.h
# declares. The XPM is the C-array text form: a header string
# "<width> <height> <colours> <chars per pixel>", one string per colour
# "<key> c #RRGGBB" or "<key> c None" (transparent), then one string per row.
# Anything else - a bad header, a wrong number of rows, a row of the wrong
# length, an unknown or repeated colour key, another colour form - stops the
# build with an error naming the file, so a broken image never ships.

cmake_minimum_required(VERSION 3.25)

foreach(argument INPUT OUTPUT NAME)
  if(NOT DEFINED ${argument})
    message(FATAL_ERROR "XpmToCpp.cmake: -D${argument}=... is missing")
  endif()
endforeach()

macro(xpm_fail text)
  message(FATAL_ERROR "${INPUT}: ${text}")
endmacro()

# snake_case file name -> kCamelCase variable name.
function(xpm_variable_name name out)
  if(NOT name MATCHES "^[a-z][a-z0-9_]*$")
    xpm_fail("image name '${name}' is not lower-case snake_case")
  endif()
  string(REPLACE "_" ";" parts "${name}")
  set(result "k")
  foreach(part IN LISTS parts)
    string(SUBSTRING "${part}" 0 1 first)
    string(SUBSTRING "${part}" 1 -1 rest)
    string(TOUPPER "${first}" first)
    string(APPEND result "${first}${rest}")
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# Collects the quoted strings of the file into xpm_string_<i> and their
# number into xpm_string_count. Strings are taken apart with FIND, never as
# CMake lists, so that ';' and brackets in colour keys are plain characters.
function(xpm_read_strings file)
  file(READ "${file}" text)
  # C comments may hold quotes; drop them first.
  string(REGEX REPLACE "/\\*[^*]*\\*+([^/*][^*]*\\*+)*/" "" text "${text}")
  set(count 0)
  while(TRUE)
    string(FIND "${text}" "\"" open)
    if(open EQUAL -1)
      break()
    endif()
    math(EXPR open "${open} + 1")
    string(SUBSTRING "${text}" ${open} -1 text)
    string(FIND "${text}" "\"" close)
    if(close EQUAL -1)
      xpm_fail("a string is not closed")
    endif()
    string(SUBSTRING "${text}" 0 ${close} value)
    string(FIND "${value}" "\\" backslash)
    if(NOT backslash EQUAL -1)
      xpm_fail("escape sequences are not supported: \"${value}\"")
    endif()
    set(xpm_string_${count} "${value}" PARENT_SCOPE)
    math(EXPR count "${count} + 1")
    math(EXPR close "${close} + 1")
    string(SUBSTRING "${text}" ${close} -1 text)
  endwhile()
  set(xpm_string_count ${count} PARENT_SCOPE)
endfunction()

# Reads the header into xpm_width, xpm_height, xpm_colors, xpm_cpp.
function(xpm_parse_header header)
  if(NOT header MATCHES "^[ \t]*([0-9]+)[ \t]+([0-9]+)[ \t]+([0-9]+)[ \t]+([0-9]+)[ \t]*$")
    xpm_fail("bad header \"${header}\" (expected \"width height colours chars-per-pixel\")")
  endif()
  set(width ${CMAKE_MATCH_1})
  set(height ${CMAKE_MATCH_2})
  set(colors ${CMAKE_MATCH_3})
  set(cpp ${CMAKE_MATCH_4})
  if(width LESS 1 OR height LESS 1 OR width GREATER 4096 OR height GREATER 4096)
    xpm_fail("size ${width} x ${height} is out of range")
  endif()
  if(colors LESS 1 OR colors GREATER 256)
    xpm_fail("${colors} colours; an embedded image holds 1 to 256")
  endif()
  if(cpp LESS 1 OR cpp GREATER 4)
    xpm_fail("${cpp} characters per pixel; 1 to 4 are supported")
  endif()
  foreach(field width height colors cpp)
    set(xpm_${field} ${${field}} PARENT_SCOPE)
  endforeach()
endfunction()

# Reads colour <index> into xpm_key_<hex key> = index and appends its
# palette entry to xpm_palette_code.
function(xpm_parse_color index line)
  string(LENGTH "${line}" length)
  if(length LESS_EQUAL xpm_cpp)
    xpm_fail("colour line \"${line}\" is too short")
  endif()
  string(SUBSTRING "${line}" 0 ${xpm_cpp} key)
  string(SUBSTRING "${line}" ${xpm_cpp} -1 definition)
  string(HEX "${key}" hex_key)
  if(DEFINED xpm_key_${hex_key})
    xpm_fail("colour key \"${key}\" is defined twice")
  endif()
  if(definition MATCHES "^[ \t]+c[ \t]+#([0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f])[ \t]*$")
    string(TOUPPER "${CMAKE_MATCH_1}" rgb)
    set(entry "{0x${rgb}, false}")
  elseif(definition MATCHES "^[ \t]+c[ \t]+[Nn]one[ \t]*$")
    set(entry "{0x000000, true}")
  else()
    xpm_fail("colour line \"${line}\" is not \"<key> c #RRGGBB\" or \"<key> c None\"")
  endif()
  set(xpm_key_${hex_key} ${index} PARENT_SCOPE)
  set(xpm_palette_code "${xpm_palette_code}    ${entry},\n" PARENT_SCOPE)
endfunction()

# Appends one row's palette indices to xpm_pixel_code.
function(xpm_parse_row row line)
  string(LENGTH "${line}" length)
  math(EXPR expected "${xpm_width} * ${xpm_cpp}")
  if(NOT length EQUAL expected)
    xpm_fail("row ${row} has ${length} characters, expected ${expected}")
  endif()
  string(HEX "${line}" hex)
  math(EXPR step "2 * ${xpm_cpp}")
  math(EXPR last "${xpm_width} - 1")
  set(code "   ")
  foreach(x RANGE ${last})
    math(EXPR at "${x} * ${step}")
    string(SUBSTRING "${hex}" ${at} ${step} hex_key)
    if(NOT DEFINED xpm_key_${hex_key})
      math(EXPR column "${x} * ${xpm_cpp}")
      string(SUBSTRING "${line}" ${column} ${xpm_cpp} key)
      xpm_fail("row ${row}, pixel ${x}: unknown colour key \"${key}\"")
    endif()
    string(APPEND code " ${xpm_key_${hex_key}},")
  endforeach()
  set(xpm_pixel_code "${xpm_pixel_code}${code}\n" PARENT_SCOPE)
endfunction()

xpm_variable_name("${NAME}" variable)
xpm_read_strings("${INPUT}")
if(xpm_string_count EQUAL 0)
  xpm_fail("no XPM strings found")
endif()
xpm_parse_header("${xpm_string_0}")

math(EXPR expected_strings "1 + ${xpm_colors} + ${xpm_height}")
if(NOT xpm_string_count EQUAL expected_strings)
  xpm_fail("${xpm_string_count} strings, expected ${expected_strings} (header, ${xpm_colors} colours, ${xpm_height} rows)")
endif()

set(xpm_palette_code "")
foreach(index RANGE 1 ${xpm_colors})
  math(EXPR palette_index "${index} - 1")
  xpm_parse_color(${palette_index} "${xpm_string_${index}}")
endforeach()

set(xpm_pixel_code "")
math(EXPR last_row "${xpm_height} - 1")
foreach(row RANGE ${last_row})
  math(EXPR string_index "1 + ${xpm_colors} + ${row}")
  xpm_parse_row(${row} "${xpm_string_${string_index}}")
endforeach()

get_filename_component(source_name "${INPUT}" NAME)
file(WRITE "${OUTPUT}" "// Generated from ${source_name} by cmake/XpmToCpp.cmake; do not edit.
#include \"resources/Images.h\"

namespace resources {
namespace {

constexpr EmbeddedColor kPalette[] = {
${xpm_palette_code}};

constexpr std::uint8_t kIndices[] = {
${xpm_pixel_code}};

}  // namespace

constinit const EmbeddedImage ${variable}{${xpm_width}, ${xpm_height}, kPalette, kIndices};

}  // namespace resources
")
