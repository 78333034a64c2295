#!/usr/bin/env bash
# Installs what building, testing and running the gallery need on Debian 12.
# Runs apt-get only when a package is missing; uses sudo when not run as root.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qtbase5-dev qtdeclarative5-dev qtdeclarative5-dev-tools
    qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtquick-controls2
    qml-module-qtquick-layouts qml-module-qtquick-shapes qml-module-qttest
    qt6-base-dev qt6-declarative-dev libgl-dev
    qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtquick-controls
    qml6-module-qtquick-templates qml6-module-qtquick-layouts qml6-module-qtquick-shapes
    qml6-module-qtqml-workerscript qml6-module-qtqml-models qml6-module-qttest
    qt6-declarative-dev-tools qml qmlscene qml-qt6 dpkg-dev lintian
    libqt5svg5-dev qt6-svg-dev poppler-utils
    fonts-dejavu-core
    xvfb xauth
    dbus-daemon dbus-bin at-spi2-core python3-pyatspi
    clang clang-format libclang-rt-14-dev libbenchmark-dev valgrind
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
        || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
