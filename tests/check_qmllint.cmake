# Runs Qt 6's qmllint on FILES with the QML module in IMPORT_PATH and fails on what says that the
# tools do not know the module: an import that fails, a type or property type that does not
# resolve, a member that BllPaintedItem or BllShapePaintedItem lack. Other findings are shown and do not fail
# (qmllint 6.4 knows no Qt.SolidLine, nor forEach on a list literal).
execute_process(COMMAND ${QMLLINT} -I ${IMPORT_PATH} ${FILES}
    OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")
string(REGEX MATCHALL "[^\n]*(Failed to import|was not found|is not resolved|No type found|on type \"Bll)[^\n]*"
    unknown "${output}")
if(unknown)
    list(JOIN unknown "\n" unknown)
    message(FATAL_ERROR "qmllint does not know these:\n${unknown}")
endif()
