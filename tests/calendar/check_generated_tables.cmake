# Runs the table generator and compares its output with the checked-in table.
# Variables: GENERATOR, EXPECTED, OUTPUT.
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${EXPECTED} ${OUTPUT}
                RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "${EXPECTED} differs from the generator's output ${OUTPUT}; "
                      "build the target regenerate-lunar-tables")
endif()
