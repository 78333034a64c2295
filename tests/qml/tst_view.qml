import QtQuick 2.15
import QtTest 1.15
import Bll.PaintedItem 1.2

// BllViewItem as a QML plan viewer drives it: properties and their signals, the methods, the
// pointer, and picking through the view.
Item {
    width: 320
    height: 200

    BllViewItem {
        id: view
        anchors.fill: parent
        focus: true
        Component.onCompleted: {
            addBoxSimpleF("a", 1000, 1000, 40, 20);
            addBoxF("b", 1100, 1050, 60, 30, 4);
        }
    }
    SignalSpy { id: scaleSpy; target: view; signalName: "viewScaleChanged" }
    SignalSpy { id: xSpy; target: view; signalName: "viewXChanged" }

    TestCase {
        name: "View"
        when: windowShown

        function init() {
            view.viewScale = 1;
            view.viewX = 0;
            view.viewY = 0;
            scaleSpy.clear();
            xSpy.clear();
        }

        function test_fitThenPick() {
            verify(view.fitToScene());
            var bounds = view.sceneBounds;
            verify(bounds.x <= 1000 && bounds.right >= 1160);
            var point = view.mapFromScene(1020, 1010);
            compare(BllPicking.boxAt(view, point.x, point.y).boxId, "a");
            compare(BllPicking.boxesIn(view, 0, 0, view.width, view.height).length, 2);
            compare(scaleSpy.count, 1);
        }

        function test_refused_data() {
            return [{ tag: "no number", scale: NaN }, { tag: "zero", scale: 0 },
                    { tag: "below zero", scale: -1 }, { tag: "infinite", scale: Infinity }];
        }
        function test_refused(row) {
            view.viewScale = row.scale;
            compare(view.viewScale, 1);
            compare(scaleSpy.count, 0);
            verify(!view.zoomAt(0, 0, row.scale));
        }

        function test_pointer() {
            mouseDrag(view, 100, 100, 30, -20);
            compare(view.viewX, -30);
            compare(view.viewY, 20);
            compare(xSpy.count > 0, true);
            mouseWheel(view, 50, 50, 0, 120);
            compare(view.viewScale, 1.25);
            keyClick(Qt.Key_Minus);
            compare(view.viewScale, 1);
        }

        function test_notInteractive() {
            view.interactive = false;
            mouseDrag(view, 100, 100, 30, -20);
            mouseWheel(view, 50, 50, 0, 120);
            compare(view.viewX, 0);
            compare(view.viewScale, 1);
            view.interactive = true;
        }
    }
}
