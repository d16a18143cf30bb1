# Writes a C++ source that holds each file as a byte array and a table from name to bytes.
# Looked up through qel::FindResource (platform/graphics/Resources.h).
#   cmake -DOUT=<file.cpp> -DFILES=<path|path|...> -P EmbedResources.cmake
# The list is "|"-separated so that it survives the command line; no files gives an empty table.
# A resource is named by its file name without the last extension, upper-cased; the name only
# ever appears inside a string literal, so any file name works (quotes and backslashes are
# escaped) and the arrays are numbered.
set(body "// Generated from resources/ at build time. Do not edit.\n#include \"platform/graphics/Resources.h\"\nnamespace qel::detail {\n")
set(table "")
set(count 0)
string(REPLACE "|" ";" FILES "${FILES}")
foreach(f IN LISTS FILES)
  if(f STREQUAL "")
    continue()
  endif()
  get_filename_component(stem "${f}" NAME_WLE)
  string(TOUPPER "${stem}" name)
  string(REPLACE "\\" "\\\\" name "${name}")
  string(REPLACE "\"" "\\\"" name "${name}")
  file(READ "${f}" hex HEX)
  string(LENGTH "${hex}" hexlen)
  math(EXPR size "${hexlen} / 2")
  if(size EQUAL 0)
    set(bytes "0x00")  # an empty file still needs a non-empty array; its size stays 0
  else()
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  endif()
  string(APPEND body "static const std::uint8_t res${count}[] = {${bytes}};\n")
  string(APPEND table "  {\"${name}\", res${count}, ${size}},\n")
  math(EXPR count "${count} + 1")
endforeach()
string(APPEND body "extern const EmbeddedResource kEmbeddedResources[] = {\n${table}  {nullptr, nullptr, 0}};\n}  // namespace qel::detail\n")
file(WRITE "${OUT}" "${body}")
