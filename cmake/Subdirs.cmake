# Adds <parent>/<name> for every name whose folder has a CMakeLists.txt.
function(chromiva_add_existing_subdirs parent)
  foreach(name IN LISTS ARGN)
    set(dir "${CMAKE_CURRENT_SOURCE_DIR}/${parent}/${name}")
    if(EXISTS "${dir}/CMakeLists.txt")
      add_subdirectory("${dir}")
    endif()
  endforeach()
endfunction()
