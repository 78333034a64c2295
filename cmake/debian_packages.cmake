# Debian packages: `cpack -G DEB` in a build configured with -DCMAKE_INSTALL_PREFIX=/usr makes
# one package per install component, named so that the Qt 5 and Qt 6 packages install side by
# side (their files differ as the two builds' install trees do):
#   runtime: libbll-painted-item1            libbll-painted-item-qt6-1       the shared library
#   dev:     libbll-painted-item-dev         libbll-painted-item-qt6-dev     headers, CMake, .pc
#   qml:     qml-module-bll-painteditem      qml6-module-bll-painteditem     the QML module
# Dependencies on other packages come from the binaries (dpkg-shlibdeps), those between the
# three from the components'. Each package carries the license as a machine-readable
# copyright file and a changelog, and `lintian` reports no error on them (tests/package).
if(BLL_QT_MAJOR STREQUAL "5")
    set(library_package libbll-painted-item)
    set(qml_package qml-module-bll-painteditem)
    set(qt_dev_package qtdeclarative5-dev)
    set(qt_quick_package qml-module-qtquick2)
else()
    set(library_package libbll-painted-item-qt6)
    set(qml_package qml6-module-bll-painteditem)
    set(qt_dev_package qt6-declarative-dev)
    set(qt_quick_package qml6-module-qtquick)
endif()
# Debian inserts a hyphen between a library name ending in a digit and its soversion.
if(library_package MATCHES "[0-9]$")
    set(runtime_package ${library_package}-${PROJECT_VERSION_MAJOR})
else()
    set(runtime_package ${library_package}${PROJECT_VERSION_MAJOR})
endif()

# Whoever builds the packages is their maintainer: set your own name and address.
set(BLL_DEBIAN_MAINTAINER "The Bll_Painted_Item developers <bll-painted-item@example.org>"
    CACHE STRING "Maintainer field of the Debian packages: Name <address>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${library_package})
set(CPACK_PACKAGE_VENDOR "The Bll_Painted_Item developers")
set(CPACK_PACKAGE_CONTACT "${BLL_DEBIAN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION} (Qt ${BLL_QT_MAJOR})")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
if(BLL_BUILD_QML_MODULE)
    list(APPEND CPACK_COMPONENTS_ALL qml)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE bll-painted-item)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The plug-in needs the library, which no installed package has yet: dpkg-shlibdeps finds it
# in the build tree, and the dependency on its package comes from the components.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Binaries stripped, as Debian ships them.
set(CPACK_STRIP_FILES ON)

# Every package's /usr/share/doc/<package>: the license in Debian's machine-readable copyright
# format, and a changelog (Debian wants one in a native package). Installed for the packages
# only (EXCLUDE_FROM_ALL): `cmake --install` puts the plain LICENSE into share/doc instead.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license_text)
string(STRIP "${license_text}" license_text)
string(REPLACE "\n" "\n " license_text " ${license_text}")
string(REPLACE "\n \n" "\n .\n" license_text "${license_text}")
set(debian_dir ${PROJECT_BINARY_DIR}/debian)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright.in ${debian_dir}/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${debian_dir}/changelog @ONLY)
execute_process(COMMAND gzip -9nf ${debian_dir}/changelog)
set(package_of_runtime ${runtime_package})
set(package_of_dev ${library_package}-dev)
set(package_of_qml ${qml_package})
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
    install(FILES ${debian_dir}/copyright ${debian_dir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package_of_${component}}
        COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

# The library's package: its shlibs file, so that others' packages get their dependency on it
# computed in turn, and the ldconfig trigger. Written here, as CPack's own shlibs generation
# looks for a soname in every shared object of every package and warns about the QML plug-in,
# which as a module rightly has none. CPack's dpkg-shlibdeps run is off for the library's
# package, as that run also writes postinst and postrm scripts that call ldconfig, which Debian
# replaced by the trigger (and a package with a postrm stays in state "rc" after `apt-get
# remove`): its dependencies come from dpkg-shlibdeps run when cpack starts
# (cpack_project_config.cmake).
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${runtime_package})
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "The Bll_Painted_Item shared library for Qt ${BLL_QT_MAJOR} Quick applications")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS OFF)
file(WRITE ${debian_dir}/runtime/triggers "activate-noawait ldconfig\n")
file(WRITE ${debian_dir}/runtime/shlibs
    "lib${BLL_LIBRARY_NAME} ${PROJECT_VERSION_MAJOR} ${runtime_package} (>= ${PROJECT_VERSION})\n")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${debian_dir}/runtime/triggers ${debian_dir}/runtime/shlibs)
file(WRITE ${debian_dir}/shlibdeps/debian/control "")
file(GENERATE OUTPUT ${debian_dir}/cpack_project_config.cmake
    INPUT ${CMAKE_CURRENT_LIST_DIR}/debian/cpack_project_config.cmake.in)
set(CPACK_PROJECT_CONFIG_FILE ${debian_dir}/cpack_project_config.cmake)

set(CPACK_DEBIAN_DEV_PACKAGE_NAME ${library_package}-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS ${qt_dev_package})
# The CMake package finds Qt SVG when the library links it.
if(BLL_WITH_SVG)
    string(APPEND CPACK_DEBIAN_DEV_PACKAGE_DEPENDS ", ${BLL_SVG_PACKAGE}")
endif()
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_COMPONENT_DEV_DESCRIPTION
    "Headers, CMake package and pkg-config file of Bll_Painted_Item for Qt ${BLL_QT_MAJOR}")

set(CPACK_DEBIAN_QML_PACKAGE_NAME ${qml_package})
set(CPACK_DEBIAN_QML_PACKAGE_DEPENDS ${qt_quick_package})
set(CPACK_COMPONENT_QML_DEPENDS runtime)
set(CPACK_COMPONENT_QML_DESCRIPTION
    "The QML module Bll.PaintedItem for Qt ${BLL_QT_MAJOR}: BllPaintedItem, BllShapePaintedItem")

include(CPack)
