# Writes OUT, a C++ source holding the resources listed in LIST (see EmbedResources.cmake).
get_filename_component(list_dir ${LIST} DIRECTORY)
file(STRINGS ${LIST} lines)
set(arrays "")
set(entries "")
set(count 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*(#|$)")
    continue()
  endif()
  separate_arguments(fields UNIX_COMMAND "${line}")
  list(GET fields 0 type)
  list(GET fields 1 name)
  list(GET fields 2 file)
  file(READ ${list_dir}/${file} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const std::uint8_t kData${count}[] = {${bytes}};\n")
  if(name MATCHES "^[0-9]+$")
    string(APPEND entries "    {${type}, nullptr, ${name}, kData${count}, sizeof kData${count}},\n")
  else()
    string(APPEND entries "    {${type}, L\"${name}\", 0, kData${count}, sizeof kData${count}},\n")
  endif()
  math(EXPR count "${count} + 1")
endforeach()
file(WRITE ${OUT}.new "// Generated from ${LIST}; edit that list and the files it names instead.
#include \"platform/resource_table.h\"

namespace platform {
namespace {
${arrays}}  // namespace

const ResourceEntry kResourceTable[] = {
${entries}};
const std::size_t kResourceCount = ${count};

}  // namespace platform
")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUT}.new ${OUT})
