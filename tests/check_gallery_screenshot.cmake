# Runs `gallery --screenshot` and checks that it wrote a non-empty PNG, the scene warning of nothing.
# Usage: cmake -DGALLERY=<gallery> -DSCREENSHOT=<file.png> [-DPAGE=<page>]
#        -P check_gallery_screenshot.cmake
if(NOT PAGE)
    set(PAGE families)
endif()
file(REMOVE "${SCREENSHOT}")
execute_process(COMMAND "${GALLERY}" --page ${PAGE} --screenshot "${SCREENSHOT}" --size 800x500
    RESULT_VARIABLE status ERROR_VARIABLE errors)
message("${errors}")
# The scene's own warnings (a binding that fails, a handler that throws) name its files.
if(errors MATCHES "qrc:/gallery/")
    message(FATAL_ERROR "the ${PAGE} page warned")
endif()
set(signature "")
if(EXISTS "${SCREENSHOT}")
    file(READ "${SCREENSHOT}" signature LIMIT 8 HEX)
endif()
if(NOT status EQUAL 0 OR NOT signature STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "gallery --screenshot exited with ${status}, no PNG in ${SCREENSHOT}")
endif()
