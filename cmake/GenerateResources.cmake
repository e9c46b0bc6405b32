# Writes OUT, a C++ source holding the resources listed in LIST (see ResourceList.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/ResourceList.cmake)
scrivo_read_resource_list(${LIST} resources)
set(arrays "")
set(entries "")
set(count 0)
foreach(resource IN LISTS resources)
  string(REPLACE "|" ";" fields "${resource}")
  list(GET fields 0 type)
  list(GET fields 1 name)
  list(GET fields 2 file)
  file(READ ${file} hex HEX)
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
#include \"system/resource_table.h\"

namespace platform {
namespace {
${arrays}}  // namespace

const ResourceEntry kResourceTable[] = {
${entries}};
const std::size_t kResourceCount = ${count};

}  // namespace platform
")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUT}.new ${OUT})
