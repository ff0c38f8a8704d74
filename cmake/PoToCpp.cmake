# Turns gettext catalogs (po/<language>.po) into the C++ table of
# i18n/MessageTable.h, for the Windows program, which carries its texts
# inside. Run as: cmake -DCATALOGS=<a.po;b.po> -DOUTPUT=<file.cpp> -P PoToCpp.cmake
#
# Reads what the catalogs in po/ use: msgid and msgstr, each one or more
# quoted strings on consecutive lines, with C escapes (kept as they are: they
# mean the same in C++). Entries marked fuzzy, untranslated ones and the
# header (the empty msgid) are left out.
# (file(STRINGS) splits at ";", so the texts hold none.)
cmake_minimum_required(VERSION 3.25)
set(rows "")
macro(end_entry)
  if(state STREQUAL "in_text" AND NOT id STREQUAL "" AND NOT text STREQUAL "" AND NOT fuzzy)
    string(APPEND rows "    {\"${language}\", \"${id}\", \"${text}\"},\n")
  endif()
  if(state STREQUAL "in_text")
    set(fuzzy OFF)
  endif()
  set(state none)
endmacro()
foreach(catalog ${CATALOGS})
  get_filename_component(language ${catalog} NAME_WE)
  file(STRINGS ${catalog} lines ENCODING UTF-8)
  set(state none)
  set(fuzzy OFF)
  foreach(line IN LISTS lines)
    if(line MATCHES "^\"(.*)\"$")
      if(state STREQUAL "in_id")
        string(APPEND id "${CMAKE_MATCH_1}")
      elseif(state STREQUAL "in_text")
        string(APPEND text "${CMAKE_MATCH_1}")
      endif()
      continue()
    endif()
    end_entry()
    if(line MATCHES "^#,.*fuzzy")
      set(fuzzy ON)
    elseif(line MATCHES "^msgid \"(.*)\"$")
      set(state in_id)
      set(id "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^msgstr \"(.*)\"$")
      set(state in_text)
      set(text "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  end_entry()
endforeach()
file(WRITE ${OUTPUT}.new
"// Made from the message catalogs by cmake/PoToCpp.cmake: do not edit.
#include \"i18n/MessageTable.h\"

namespace i18n {
namespace {
const TranslatedMessage kRows[] = {
${rows}};
}  // namespace
const std::span<const TranslatedMessage> kTranslatedMessages(kRows);
}  // namespace i18n
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
