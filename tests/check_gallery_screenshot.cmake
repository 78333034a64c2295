# Runs `gallery --screenshot` and checks that it wrote a PNG that is not empty.
# Usage: cmake -DGALLERY=<gallery> -DSCREENSHOT=<file.png> -P check_gallery_screenshot.cmake
file(REMOVE "${SCREENSHOT}")
execute_process(COMMAND "${GALLERY}" --screenshot "${SCREENSHOT}" --size 800x500
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "gallery --screenshot exited with ${status}")
endif()
if(NOT EXISTS "${SCREENSHOT}")
    message(FATAL_ERROR "gallery --screenshot wrote no ${SCREENSHOT}")
endif()
file(SIZE "${SCREENSHOT}" size)
file(READ "${SCREENSHOT}" signature LIMIT 8 HEX)
if(size EQUAL 0 OR NOT signature STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "${SCREENSHOT} is not a PNG (${size} bytes)")
endif()
message(STATUS "${SCREENSHOT}: ${size} bytes")
