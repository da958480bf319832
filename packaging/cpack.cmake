# The Debian packages, one per install component:
#   program     -> chromiva          the window, chromiva-cli, desktop entry, MIME type, icon,
#                                    bash completion, manual pages
#   library     -> libwrenlink1      the shared library, the udev rule, /etc/wrenlink/devices.conf
#   development -> libwrenlink-dev   header, development symlink, wrenlink.pc, CMake config
#   python      -> python3-chromiva  the Python module, when its target exists
# Dependencies on other packages come from dpkg-shlibdeps; those between these packages from
# the component graph. Every version is the project's.
set(CHROMIVA_PACKAGE_MAINTAINER "Chromiva developers <chromiva-devel@example.org>"
    CACHE STRING "The Maintainer field of the Debian packages")

set(CHROMIVA_PACKAGING_SOURCE ${CMAKE_CURRENT_LIST_DIR} CACHE INTERNAL "")
set(CHROMIVA_PACKAGING_BINARY ${CMAKE_CURRENT_BINARY_DIR} CACHE INTERNAL "")

# Each package's /usr/share/doc/<package>: copyright and changelog (dated SOURCE_DATE_EPOCH
# when it is set).
function(chromiva_package_docs component package)
  set(doc ${CHROMIVA_PACKAGING_BINARY}/doc/${package})
  set(CHANGELOG_PACKAGE ${package})
  set(CHANGELOG_VERSION ${PROJECT_VERSION})
  string(TIMESTAMP CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  configure_file(${CHROMIVA_PACKAGING_SOURCE}/debian/changelog.in ${doc}/changelog @ONLY)
  add_custom_command(OUTPUT ${doc}/changelog.gz
    COMMAND gzip -9nkf ${doc}/changelog DEPENDS ${doc}/changelog VERBATIM)
  add_custom_target(${package}-changelog ALL DEPENDS ${doc}/changelog.gz)
  install(FILES ${CHROMIVA_PACKAGING_SOURCE}/debian/copyright ${doc}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}
          COMPONENT ${component} EXCLUDE_FROM_ALL)
endfunction()

# The control files of libwrenlink1: maintainer scripts that reload the udev rules and
# re-trigger the listed instruments, the conffile, the ldconfig trigger.
function(chromiva_udev_scripts out)
  get_property(ids GLOBAL PROPERTY WRENLINK_USB_IDS)
  set(UDEV_TRIGGERS "")
  foreach(id IN LISTS ids)
    string(REPLACE ":" ";" parts "${id}")
    list(GET parts 0 vendor)
    list(GET parts 1 product)
    string(APPEND UDEV_TRIGGERS
      "    udevadm trigger --action=change --subsystem-match=usb "
      "--attr-match=idVendor=${vendor} --attr-match=idProduct=${product} || true\n")
  endforeach()
  foreach(script postinst postrm)
    configure_file(${CHROMIVA_PACKAGING_SOURCE}/debian/${script}.in ${out}/${script} @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                    WORLD_READ WORLD_EXECUTE)
  endforeach()
  file(WRITE ${out}/conffiles "/etc/wrenlink/devices.conf\n")
  file(WRITE ${out}/triggers "activate-noawait ldconfig\n")
endfunction()

function(chromiva_describe component package section summary)
  string(TOUPPER ${component} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${package} PARENT_SCOPE)
  set(CPACK_DEBIAN_${upper}_PACKAGE_SECTION ${section} PARENT_SCOPE)
  string(JOIN "\n" description "${summary}" ${ARGN})  # one argument per line of the text
  set(CPACK_COMPONENT_${upper}_DESCRIPTION "${description}" PARENT_SCOPE)
  chromiva_package_docs(${component} ${package})
endfunction()

macro(chromiva_cpack_components)
  chromiva_describe(library libwrenlink1 libs
    "USB access to small spectrometers and their instruments (library)"
    "Wrenlink finds the instruments on USB and speaks their byte-coded protocols,"
    "and it carries a simulator of them, so programs run without hardware. Its udev"
    "rule gives the listed instruments to the logged-in user and to the plugdev"
    "group.")
  chromiva_describe(development libwrenlink-dev libdevel
    "USB access to small spectrometers and their instruments (development files)"
    "The C header of Wrenlink, its pkg-config file (wrenlink) and its CMake"
    "package (find_package(Wrenlink), target Wrenlink::wrenlink).")
  set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS library)
  if(TARGET chromiva-cli)
    chromiva_describe(program chromiva science
      "measurement program for small USB spectrometers"
      "Chromiva detects up to ten spectrometers, measures once, continuously or at"
      "an interval, shows the corrected spectrum with statistics or CIE colour,"
      "records, saves and exports CSV. It has a window (chromiva) and a command-line"
      "front end (chromiva-cli).")
    set(CPACK_COMPONENT_PROGRAM_DEPENDS library)
    list(APPEND components program)
  endif()
  if(TARGET chromiva_python)
    chromiva_describe(python python3-chromiva python
      "measurement program for small USB spectrometers (Python module)"
      "The Python 3 module chromiva: Chromiva's own code, for Python programs.")
    set(CPACK_COMPONENT_PYTHON_DEPENDS library)
    # A compiled module serves the one Python version it was built for.
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    math(EXPR next "${Python3_VERSION_MINOR} + 1")
    set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
        "python3 (>= ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}~), python3 (<< ${Python3_VERSION_MAJOR}.${next})")
    list(APPEND components python)
  endif()
endmacro()

function(chromiva_cpack)
  set(components library development)
  chromiva_cpack_components()
  set(CPACK_COMPONENTS_ALL ${components})
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_PACKAGE_NAME chromiva)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_CONTACT "${CHROMIVA_PACKAGE_MAINTAINER}")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  # Absolute destinations (/etc/wrenlink) go into the package, not onto this machine.
  set(CPACK_SET_DESTDIR ON)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # libwrenlink.so.1 is built here, not installed: dpkg-shlibdeps finds it in the build tree
  # and leaves the dependency on libwrenlink1 to the component graph.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/device_access)
  set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
  set(scripts ${CHROMIVA_PACKAGING_BINARY}/library-control)
  chromiva_udev_scripts(${scripts})
  set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA
      ${scripts}/postinst ${scripts}/postrm ${scripts}/conffiles ${scripts}/triggers)
  set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # The window's icon is an SVG: Qt draws it through the SVG plugin, which no symbol names.
  file(READ ${PROJECT_SOURCE_DIR}/app/ui/resources/chromiva.qrc resources)
  if(TARGET chromiva AND resources MATCHES "\\.svg<")
    set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS libqt6svg6)
  endif()
  set(CPACK_OUTPUT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackConfig.cmake)
  set(CPACK_SOURCE_OUTPUT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackSourceConfig.cmake)
  include(CPack)
endfunction()
