# Debian packages: `cpack -G DEB` in a build configured with -DCMAKE_INSTALL_PREFIX=/usr makes
# one package per install component, named so that the Qt 5 and Qt 6 packages install side by
# side (their files differ as the two builds' install trees do):
#   runtime: libbll-painted-item1            libbll-painted-item-qt6-1       the shared library
#   dev:     libbll-painted-item-dev         libbll-painted-item-qt6-dev     headers, CMake, .pc
#   qml:     qml-module-bll-painteditem      qml6-module-bll-painteditem     the QML module
# Dependencies on other packages come from the binaries (dpkg-shlibdeps), those between the
# three from the components'.
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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${library_package})
set(CPACK_PACKAGE_VENDOR "Bll_Painted_Item developers")
set(CPACK_PACKAGE_CONTACT "Bll_Painted_Item developers <bll-painted-item@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION} (Qt ${BLL_QT_MAJOR})")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
if(BLL_BUILD_QML_MODULE)
    list(APPEND CPACK_COMPONENTS_ALL qml)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The plug-in needs the library, which no installed package has yet: dpkg-shlibdeps finds it
# in the build tree, and the dependency on its package comes from the components.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# A shlibs file, so that others' packages get their dependency on the library computed in
# turn; binaries stripped, as Debian ships them.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${runtime_package})
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "The Bll_Painted_Item shared library for Qt ${BLL_QT_MAJOR} Quick applications")

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
