# Warnings of the project's own targets. CI and scripts/test-all.sh turn them into errors
# (CHROMIVA_WERROR=ON); a user's own build does not stop on a warning that another compiler adds.
option(CHROMIVA_WERROR "Treat warnings as errors" OFF)
function(chromiva_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                           -Wold-style-cast -Wcast-align -Woverloaded-virtual)
  # GCC 12 reports impossible overlaps and out-of-bounds copies inside libstdc++'s string and
  # vector code at -O3 (GCC bugs 105329, 107138); those warnings are noise there, so that
  # compiler leaves them out.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict -Wno-array-bounds
                                             -Wno-stringop-overflow -Wno-stringop-overread)
  endif()
  if(CHROMIVA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
