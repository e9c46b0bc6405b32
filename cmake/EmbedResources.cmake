# scrivo_embed_resources(<target> <list file>): compiles the resources named in the list file and
# links them into everything that links <target>, whether or not anything there names them (the
# platform finds them by name at run time). Each line of the list is "<type number> <name or id>
# <file>"; '#' starts a comment.
function(scrivo_embed_resources target list_file)
  get_filename_component(list_dir ${list_file} DIRECTORY)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  file(STRINGS ${list_file} lines)
  set(files)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*(#|$)")
      continue()
    endif()
    separate_arguments(fields UNIX_COMMAND "${line}")
    list(GET fields 2 file)
    list(APPEND files ${list_dir}/${file})
  endforeach()
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DLIST=${list_file} -DOUT=${out} -P ${PROJECT_SOURCE_DIR}/cmake/GenerateResources.cmake
    DEPENDS ${list_file} ${files} ${PROJECT_SOURCE_DIR}/cmake/GenerateResources.cmake
    COMMENT "Embedding resources of ${target}")
  add_library(${target}_resources OBJECT ${out})
  target_link_libraries(${target}_resources PRIVATE scrivo_platform)
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "EXECUTABLE")
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:${target}_resources>)
  else()
    target_link_libraries(${target} INTERFACE $<TARGET_OBJECTS:${target}_resources>)
    add_dependencies(${target} ${target}_resources)
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
endfunction()
