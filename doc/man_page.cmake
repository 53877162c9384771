# Builds the manual page: fills in the install layout, runs scdoc, and turns
# hyphenation off after .TH, which turns it back on (an option name broken
# at a hyphen reads as another option, and cannot be searched for).
#   cmake -DSCDOC=... -DINPUT=....scd -DOUTPUT=....1 -DBINDIR=...
#         -DPLUGINDIR=... -DPLUGIN_DIR_FROM_BIN=... -P man_page.cmake
configure_file(${INPUT} ${OUTPUT}.scd @ONLY)
execute_process(COMMAND ${SCDOC}
  INPUT_FILE ${OUTPUT}.scd
  OUTPUT_VARIABLE page
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "scdoc failed on ${INPUT}: ${errors}")
endif()
string(REGEX REPLACE "(\n\\.TH [^\n]*\n)" "\\1.nh\n" page "${page}")
file(WRITE ${OUTPUT} "${page}")
