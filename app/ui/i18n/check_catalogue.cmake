# Fails while a catalogue has an entry without its translation, or one whose text is gone from
# the sources: lupdate brings a copy of each up to date with the sources, which is then read.
# -DLUPDATE=… -DSOURCES_LIST=<file, one source a line> -DWORK=<folder> -DTS_FILES="a.ts;b.ts"
file(MAKE_DIRECTORY "${WORK}")
set(problems "")
foreach(ts IN LISTS TS_FILES)
  get_filename_component(name "${ts}" NAME)
  configure_file("${ts}" "${WORK}/${name}" COPYONLY)
  execute_process(
    COMMAND "${LUPDATE}" -tr-function-alias QT_TRANSLATE_NOOP+=TR_NOOP -locations none
            "@${SOURCES_LIST}" -ts "${WORK}/${name}"
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${name}:\n${output}")
  endif()
  file(READ "${WORK}/${name}" catalogue)
  string(REGEX MATCHALL "<source>[^<]*</source>[^<]*<translation type=\"(unfinished|vanished|obsolete)\""
         entries "${catalogue}")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "<source>([^<]*)</source>.*type=\"([a-z]+)\"" "\\2: \\1" entry "${entry}")
    string(APPEND problems "  ${name} ${entry}\n")
  endforeach()
endforeach()
if(problems)
  message(FATAL_ERROR "Entries to translate or to remove (cmake --build <build> --target "
                      "update_translations, then translate):\n${problems}")
endif()
