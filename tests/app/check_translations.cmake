# Fails when a text of the program has no finished translation: lupdate collects the texts of the
# sources into copies of the translation files, which must then hold no unfinished message.
file(GLOB ts_files "${TS_DIR}/*.ts")
foreach(ts IN LISTS ts_files)
  get_filename_component(name "${ts}" NAME)
  set(copy "${WORK_DIR}/${name}")
  configure_file("${ts}" "${copy}" COPYONLY)
  execute_process(COMMAND "${LUPDATE}" -tr-function-alias QT_TRANSLATE_NOOP+=DVR_TRANSLATABLE
                          -locations none "${SOURCE_DIR}/src" -ts "${copy}"
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${name}")
  endif()
  file(READ "${copy}" content)
  string(REGEX MATCHALL "<source>[^<]*</source>\n *<translation type=\"unfinished\"" missing "${content}")
  if(missing)
    message(FATAL_ERROR "${name} lacks translations (run `ninja update_translations` and fill them in):\n${missing}")
  endif()
endforeach()
