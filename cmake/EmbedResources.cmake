include(${CMAKE_CURRENT_LIST_DIR}/ResourceList.cmake)

# scrivo_embed_resources(<target> <list file>): compiles the resources named in the list file (see
# ResourceList.cmake) and links them into everything that links <target>, whether or not anything
# there names them (the platform finds them by name at run time).
function(scrivo_embed_resources target list_file)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  scrivo_read_resource_list(${list_file} entries)
  set(files)
  foreach(entry IN LISTS entries)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 2 file)
    list(APPEND files ${file})
  endforeach()
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DLIST=${list_file} -DOUT=${out} -P ${PROJECT_SOURCE_DIR}/cmake/GenerateResources.cmake
    DEPENDS ${list_file} ${files} ${PROJECT_SOURCE_DIR}/cmake/GenerateResources.cmake
            ${PROJECT_SOURCE_DIR}/cmake/ResourceList.cmake
    COMMENT "Embedding resources of ${target}")
  add_library(${target}_resources OBJECT ${out})
  target_link_libraries(${target}_resources PRIVATE scrivo_platform_internal)
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "EXECUTABLE")
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:${target}_resources>)
  else()
    target_link_libraries(${target} INTERFACE $<TARGET_OBJECTS:${target}_resources>)
    add_dependencies(${target} ${target}_resources)
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
endfunction()
