#!/usr/bin/env bash
# Runs a command where a screen reader would find it: on an X server, in a D-Bus session, with
# Qt's AT-SPI bridge on. The command starts the accessibility bus itself once it runs
# (start_accessibility_bus), because Qt 5 joins a bus that appears after it starts more reliably
# than one that was there before.
set -euo pipefail
exec xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- \
    env QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0 "$@"
