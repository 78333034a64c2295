#!/usr/bin/python3
"""Reads the boxes of a QML scene through AT-SPI, the interface Linux screen readers use.

Usage: check_atspi.py <qml runner (qmlscene or qml)> <QML import path>
Runs under with_screen_reader_bus.sh. Starts small.qml, checks its tree, extents, states, the
boxes at points against BllPicking.boxAt, focus as keys move the navigator and the events of
an action; then big.qml, 100,000 boxes more, read without an object made for each.
"""

import json
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

HERE = os.path.dirname(os.path.abspath(__file__))
RUNNER, IMPORT_PATH = sys.argv[1], sys.argv[2]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


def start(scene):
    env = dict(os.environ, QML2_IMPORT_PATH=IMPORT_PATH, QML_IMPORT_PATH=IMPORT_PATH)
    log = open(os.path.join(os.environ.get("TMPDIR", "/tmp"), "atspi-%s.log" % scene), "w+")
    app = subprocess.Popen([RUNNER, os.path.join(HERE, scene)], env=env, stderr=log,
                           stdout=log)
    return app, log


def scene_report(log, timeout=60):
    deadline = time.time() + timeout
    while time.time() < deadline:
        log.seek(0)
        for line in log:
            if "SCENE " in line:
                return json.loads(line.split("SCENE ", 1)[1])
        time.sleep(0.2)
    log.seek(0)
    sys.exit("the scene reported nothing:\n" + log.read())


def start_bus():
    # Qt 5 joins a bus that appears after it started.
    subprocess.run(["dbus-send", "--session", "--dest=org.a11y.Bus", "/org/a11y/bus",
                    "org.a11y.Bus.GetAddress"], check=True)


def find_item(pid, timeout=30):
    deadline = time.time() + timeout
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.get_process_id() == pid:
                for frame in app:
                    for child in frame:
                        if child.name == "boxes":
                            return child
        time.sleep(0.3)
    sys.exit("no accessible item 'boxes' in the application")


def extents(accessible, origin=None):
    e = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if origin:
        return (e.x - origin[0], e.y - origin[1], e.width, e.height)
    return (e.x, e.y, e.width, e.height)


def states(accessible):
    return {pyatspi.stateToString(s) for s in accessible.getState().getStates()}


def listen(action, names, seconds=1.5):
    """Runs action inside the event loop and returns the events heard for a while."""
    heard = []

    def on_event(event):
        heard.append((event.type, event.source.name if event.source else None, event.detail1))

    pyatspi.Registry.registerEventListener(on_event, *names)

    def run():
        action()
        GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop() and False)
        return False

    GLib.timeout_add(200, run)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(on_event, *names)
    return heard


def expected_role_and_states(box):
    if box["family"] == "parameter":
        return "panel", set()
    if box["family"] == "dvi":
        return "label", set()
    return "list item", {"selectable"} | ({"selected"} if box["isSelected"] else set())


def check_small():
    app, log = start("small.qml")
    try:
        report = scene_report(log)
        start_bus()
        item = find_item(app.pid)
        origin = extents(item)[:2]
        check(item.getRoleName() == "panel", "the item is a panel: %s" % item.getRoleName())
        check(item.childCount == report["boxCount"],
              "children %d, boxes %d" % (item.childCount, report["boxCount"]))
        for index, box in enumerate(report["added"][:5]):
            child = item.getChildAtIndex(index)
            role, wanted = expected_role_and_states(box)
            name = "Door one" if box["boxId"] == "d1" else box["boxId"]
            check(child.name == name, "child %d is %s, not %s" % (index, child.name, name))
            check(child.getRoleName() == role, "%s is a %s" % (name, child.getRoleName()))
            got = states(child) & {"selectable", "selected"}
            check(got == wanted, "%s states %s, not %s" % (name, got, wanted))
            rect = (box["x"], box["y"], box["width"], box["height"])
            check(extents(child, origin) == rect,
                  "%s lies at %s, not %s" % (name, extents(child, origin), rect))
        sides = item.getChildAtIndex(0)
        checked = [sides.getChildAtIndex(s).name for s in range(sides.childCount)
                   if "checked" in states(sides.getChildAtIndex(s))]
        check(checked == ["top", "left"], "picked sides read %s" % checked)
        check(item.getChildAtIndex(1).description == "marked: bottom; text hidden",
              "the DVI box reads %r" % item.getChildAtIndex(1).description)

        # The box at a point is the one picking finds; a parameter box's band is its side.
        component = item.queryComponent()
        for x, y, box in report["picked"]:
            found = component.getAccessibleAtPoint(origin[0] + x, origin[1] + y,
                                                   pyatspi.DESKTOP_COORDS)
            if box is None:
                check(found is None or found.name == "boxes", "nothing at %d,%d" % (x, y))
                continue
            if box["family"] == "parameter" and box["side"]:
                got = (found.parent.name, found.name) if found else None
                want = (box["boxId"], box["side"])
            else:
                got = found.name if found else None
                want = "Door one" if box["boxId"] == "d1" else box["boxId"]
            check(got == want, "at %d,%d %s, not %s" % (x, y, got, want))

        # Tab moves the navigator, and the screen reader's focus with it.
        def press_tabs():
            for _ in range(3):
                pyatspi.Registry.generateKeyboardEvent(23, None, pyatspi.KEY_PRESSRELEASE)

        heard = listen(press_tabs, ["focus:"], seconds=2)
        focused = [name for kind, name, _ in heard if kind.startswith("focus")]
        check(focused == ["p1", "Door one", "s1"], "focus went to %s" % focused)

        # An action on a box: its selection toggles (the scene's handler), it takes the focus.
        s2 = item.getChildAtIndex(3)
        heard = listen(lambda: s2.queryAction().doAction(0),
                       ["focus:", "object:state-changed:selected"])
        check(("object:state-changed:selected", "s2", 1) in heard, "s2 selected: %s" % heard)
        check(("focus:", "s2", 0) in heard, "s2 focused: %s" % heard)
        check("selected" in states(s2), "s2 reads selected")
    finally:
        app.terminate()
        app.wait()


def resident_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def check_big():
    app, log = start("big.qml")
    try:
        report = scene_report(log, timeout=120)
        start_bus()
        item = find_item(app.pid, timeout=60)
        origin = extents(item)[:2]
        before = resident_kib(app.pid)
        count = item.childCount
        last = item.getChildAtIndex(count - 1)
        at = item.queryComponent().getAccessibleAtPoint(origin[0] + 401, origin[1] + 301,
                                                         pyatspi.DESKTOP_COORDS)
        after = resident_kib(app.pid)
        check(count == report["boxCount"], "children %d, boxes %d" % (count, report["boxCount"]))
        check(last.name == "x99999", "the last child is %s" % last.name)
        check(at is not None and at.name.startswith("x"), "a small box at 401,301: %s" % at)
        print("100,000 boxes: resident memory %d KiB before the client read them, %d KiB after"
              % (before, after))
        check(after - before < 8 * 1024, "reading three boxes grew memory by %d KiB"
              % (after - before))

        # Every simple box selected in one call: one event, not thousands.
        bulk = item.getChildAtIndex(4)
        check(bulk.name == "bulk", "child 4 is %s" % bulk.name)
        heard = listen(lambda: bulk.queryAction().doAction(0),
                       ["object:children-changed", "object:state-changed:selected"], seconds=3)
        changes = [e for e in heard if e[0] != "focus:"]
        check(len(changes) <= 2, "a bulk change sent %d events" % len(changes))
    finally:
        app.terminate()
        app.wait()


check_small()
check_big()
if failures:
    sys.exit("%d checks failed" % len(failures))
print("AT-SPI reads every box")
