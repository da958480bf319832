# Installs the build into a fresh prefix and checks that every desktop file is in its place.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
foreach(path IN ITEMS bin/chromiva share/applications/chromiva.desktop
                      share/mime/packages/chromiva.xml
                      share/icons/hicolor/scalable/apps/chromiva.svg
                      share/icons/hicolor/48x48/apps/chromiva.png
                      lib/udev/rules.d/70-wrenlink.rules)
  if(NOT EXISTS "${PREFIX}/${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
file(GLOB library "${PREFIX}/lib*/libwrenlink.so*" "${PREFIX}/lib/*/libwrenlink.so*")
if(NOT library)
  message(FATAL_ERROR "not installed: libwrenlink.so")
endif()
