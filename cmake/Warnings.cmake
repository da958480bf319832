# Warnings are errors in the project's own targets.
option(CHROMIVA_WERROR "Treat warnings as errors" ON)
function(chromiva_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                           -Wold-style-cast -Wcast-align -Woverloaded-virtual)
  if(CHROMIVA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
