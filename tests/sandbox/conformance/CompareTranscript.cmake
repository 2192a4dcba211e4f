# Runs one conformance script through the sandbox's runner in transcript mode
# and fails with a unified diff when the transcript differs from the expected one.
execute_process(
  COMMAND ${RUNNER} -t SYSTEM/manager@${DATABASE} ${SCRIPT}
  OUTPUT_VARIABLE actual
  ERROR_VARIABLE notes
  RESULT_VARIABLE status)
if(status GREATER 1)
  message(FATAL_ERROR "the runner failed (status ${status}): ${notes}")
endif()
file(WRITE ${ACTUAL} "${actual}")
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  execute_process(COMMAND diff -u ${EXPECTED} ${ACTUAL})
  message(FATAL_ERROR "the transcript of ${SCRIPT} differs from ${EXPECTED} (actual: ${ACTUAL})")
endif()
