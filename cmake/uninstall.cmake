# Takes back what `cmake --install <build>` put in place: `cmake --build <build> --target
# uninstall` removes the files of <build>/install_manifest.txt, then each directory on their way
# up that the install created and that is empty again. Directories that existed before the
# install stay, empty or not.
#
# Included by CMakeLists.txt before its first install rule, it adds the target (in a top-level
# build only), and as the first install rule a note of the directories on the way to the
# install destinations (given to bll_install_dirs()) that do not exist yet:
# install_created_directories.txt, beside the manifest. The install rule and the target run
# this file again, as BLL_UNINSTALL says.
if(NOT DEFINED BLL_UNINSTALL)
    # bll_install_dirs(<destination>...): where install rules put files.
    function(bll_install_dirs)
        if(BLL_TOP_LEVEL)
            set_property(TARGET uninstall APPEND PROPERTY BLL_INSTALL_DIRS ${ARGN})
        endif()
    endfunction()
    if(NOT BLL_TOP_LEVEL)
        return()
    endif()
    set(record ${PROJECT_BINARY_DIR}/install_created_directories.txt)
    add_custom_target(uninstall
        COMMAND ${CMAKE_COMMAND} -DBLL_UNINSTALL=remove -DBLL_RECORD=${record}
            -DBLL_MANIFEST=${PROJECT_BINARY_DIR}/install_manifest.txt -P ${CMAKE_CURRENT_LIST_FILE}
        VERBATIM)
    install(CODE "set(BLL_UNINSTALL record)
        set(BLL_RECORD \"${record}\")
        set(BLL_INSTALL_DIRS \"$<TARGET_PROPERTY:uninstall,BLL_INSTALL_DIRS>\")
        include(\"${CMAKE_CURRENT_LIST_FILE}\")")
    return()
endif()

cmake_policy(VERSION 3.16)
set(bll_created)
if(EXISTS "${BLL_RECORD}")
    file(STRINGS "${BLL_RECORD}" bll_created)
endif()

if(BLL_UNINSTALL STREQUAL "record")
    foreach(bll_dir IN LISTS BLL_INSTALL_DIRS)
        if(NOT IS_ABSOLUTE "${bll_dir}")
            set(bll_dir "${CMAKE_INSTALL_PREFIX}/${bll_dir}")
        endif()
        get_filename_component(bll_dir "$ENV{DESTDIR}${bll_dir}" ABSOLUTE)
        while(NOT EXISTS "${bll_dir}")
            list(APPEND bll_created "${bll_dir}")
            get_filename_component(bll_dir "${bll_dir}" DIRECTORY)
        endwhile()
    endforeach()
    list(REMOVE_DUPLICATES bll_created)
    list(JOIN bll_created "\n" bll_created)
    file(WRITE "${BLL_RECORD}" "${bll_created}\n")
    return()
endif()

if(NOT EXISTS "${BLL_MANIFEST}")
    message(FATAL_ERROR "Nothing to uninstall: no ${BLL_MANIFEST}")
endif()
file(STRINGS "${BLL_MANIFEST}" files)
foreach(file IN LISTS files)
    get_filename_component(file "${file}" ABSOLUTE)
    if(EXISTS "${file}" OR IS_SYMLINK "${file}")
        message(STATUS "Removing ${file}")
        file(REMOVE "${file}")
    endif()
    get_filename_component(dir "${file}" DIRECTORY)
    while(dir IN_LIST bll_created AND IS_DIRECTORY "${dir}")
        file(GLOB entries LIST_DIRECTORIES true "${dir}/*" "${dir}/.*")
        if(entries)
            break()
        endif()
        message(STATUS "Removing ${dir}/")
        file(REMOVE_RECURSE "${dir}")
        get_filename_component(dir "${dir}" DIRECTORY)
    endwhile()
endforeach()
# The next install notes anew what it creates.
file(REMOVE "${BLL_RECORD}")
