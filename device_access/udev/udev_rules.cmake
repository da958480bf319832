# wrenlink_udev_rules(LIST OUTPUT): writes the udev rule that gives every instrument of the
# device list LIST (vvvv:pppp ids, read the way the library reads them) to the logged-in user
# (TAG+="uaccess") and to the plugdev group, and keeps the ids (lower case "vvvv:pppp" items)
# in the global property WRENLINK_USB_IDS. The list is read again whenever it changes.
function(wrenlink_udev_rules list output)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${list}")
  file(STRINGS "${list}" lines)
  set(hex "[0-9a-fA-F][0-9a-fA-F][0-9a-fA-F][0-9a-fA-F]")
  set(ids "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*" "" line "${line}")
    string(REGEX REPLACE "[,\t\r]" " " line "${line}")
    separate_arguments(words UNIX_COMMAND "${line}")
    foreach(word IN LISTS words)
      if(word MATCHES "^${hex}:${hex}$")
        string(TOLOWER "${word}" word)
        list(APPEND ids "${word}")
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES ids)
  string(CONCAT rules "# Gives the instruments that Wrenlink drives to the logged-in user (uaccess) and,\n"
            "# where no seat manager runs, to the plugdev group. Generated from devices.conf;\n"
            "# for another instrument, add its id to /etc/wrenlink/devices.conf and a line like\n"
            "# these to /etc/udev/rules.d/70-wrenlink-local.rules.\n")
  foreach(id IN LISTS ids)
    string(REPLACE ":" ";" parts "${id}")
    list(GET parts 0 vendor)
    list(GET parts 1 product)
    string(APPEND rules "SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", "
           "ATTR{idVendor}==\"${vendor}\", ATTR{idProduct}==\"${product}\", "
           "TAG+=\"uaccess\", GROUP=\"plugdev\", MODE=\"0660\"\n")
  endforeach()
  file(CONFIGURE OUTPUT "${output}" CONTENT "${rules}" @ONLY)
  set_property(GLOBAL PROPERTY WRENLINK_USB_IDS "${ids}")
endfunction()
