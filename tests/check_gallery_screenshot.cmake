# Runs `gallery --screenshot` and checks that it wrote a non-empty PNG.
# Usage: cmake -DGALLERY=<gallery> -DSCREENSHOT=<file.png> -P check_gallery_screenshot.cmake
file(REMOVE "${SCREENSHOT}")
execute_process(COMMAND "${GALLERY}" --screenshot "${SCREENSHOT}" --size 800x500
    RESULT_VARIABLE status)
set(signature "")
if(EXISTS "${SCREENSHOT}")
    file(READ "${SCREENSHOT}" signature LIMIT 8 HEX)
endif()
if(NOT status EQUAL 0 OR NOT signature STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "gallery --screenshot exited with ${status}, no PNG in ${SCREENSHOT}")
endif()
