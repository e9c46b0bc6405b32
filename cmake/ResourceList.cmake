# scrivo_read_resource_list(<list file> <out var>): the entries of a resource list, each as
# "<type>;<name or id>;<absolute file path>" joined with '|'. Each line of the list is
# "<type number> <name or id> <file>"; '#' starts a comment.
function(scrivo_read_resource_list list_file out)
  get_filename_component(list_dir ${list_file} DIRECTORY)
  file(STRINGS ${list_file} lines)
  set(entries)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*(#|$)")
      continue()
    endif()
    separate_arguments(fields UNIX_COMMAND "${line}")
    list(GET fields 0 type)
    list(GET fields 1 name)
    list(GET fields 2 file)
    list(APPEND entries "${type}|${name}|${list_dir}/${file}")
  endforeach()
  set(${out} ${entries} PARENT_SCOPE)
endfunction()
