# Runs `gallery --export` for the shape item and checks that it wrote a PDF.
# Usage: cmake -DGALLERY=<gallery> -DEXPORT=<file.pdf> -P check_gallery_export.cmake
file(REMOVE "${EXPORT}")
execute_process(COMMAND "${GALLERY}" --export "${EXPORT}" --item shapeItem RESULT_VARIABLE status)
set(signature "")
if(EXISTS "${EXPORT}")
    file(READ "${EXPORT}" signature LIMIT 5 HEX)
endif()
if(NOT status EQUAL 0 OR NOT signature STREQUAL "255044462d") # %PDF-
    message(FATAL_ERROR "gallery --export exited with ${status}, no PDF in ${EXPORT}")
endif()
