# The manual page renders without a warning from man or groff.
# -DPAGE=quillchanter.1
# A fixed locale, so that no locale warning passes for the page's.
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 man --warnings -l ${PAGE}
                RESULT_VARIABLE status OUTPUT_VARIABLE shown ERROR_VARIABLE warnings)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "man -l ${PAGE} (status ${status}):\n${warnings}")
endif()
foreach(section "COMMANDS" "KEYS" "FILES" "AUTOSAVE" "EXIT STATUS" "Ctrl+Z")
  string(FIND "${shown}" "${section}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the manual page lacks ${section}")
  endif()
endforeach()
