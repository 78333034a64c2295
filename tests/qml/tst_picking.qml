import QtQuick 2.15
import QtTest 1.15
import Bll.PaintedItem 1.1

// BllPicking as a QML application calls it: boxes of every family overlapping, the topmost
// found with the side under the point, rubber bands, and what a script may pass by mistake.
Item {
    width: 240
    height: 160

    BllShapePaintedItem {
        id: item
        width: 240
        height: 160
        Component.onCompleted: {
            addBoxF("P", 10, 10, 100, 80, 20);
            addBoxDVIF("D", 60, 40, 100, 80, 3);
            addBoxSimpleF("S", 140.9, 100.9, 60, 40);
            addBoxF("Q", 120, 10, 100, 60, 10);
            addBoxF("Q", 170, 10, 60, 60, 10); // added again, elsewhere
        }
    }
    Rectangle { id: notOurs }

    TestCase {
        name: "Picking"
        when: windowShown

        function test_boxAt_data() {
            return [{ tag: "a band", x: 15, y: 50, family: "parameter", boxId: "P", side: "left" },
                    { tag: "inside the bands", x: 50, y: 35, family: "parameter", boxId: "P", side: "" },
                    { tag: "over the parameter box", x: 100, y: 85, family: "dvi", boxId: "D", side: "bottom" },
                    { tag: "over both, whole pixels", x: 140.5, y: 110, family: "simple", boxId: "S", side: "" },
                    { tag: "moved away", x: 130, y: 20, boxId: null },
                    { tag: "moved here", x: 229, y: 20, family: "parameter", boxId: "Q", side: "right" },
                    { tag: "nothing", x: 5, y: 150, boxId: null }];
        }
        function test_boxAt(row) {
            var box = BllPicking.boxAt(item, row.x, row.y);
            if (row.boxId === null) {
                compare(box, null);
                return;
            }
            compare(box.family, row.family);
            compare(box.boxId, row.boxId);
            compare(box.side, row.side);
        }

        function test_boxesIn() {
            var boxes = BllPicking.boxesIn(item, 100, 70, 50, 50);
            compare(boxes.map(function (b) { return b.family + " " + b.boxId; }),
                    ["simple S", "dvi D", "parameter P"]);
            compare(BllPicking.boxesIn(item, 150, 120, -40, -60).length, 3); // dragged up and left
        }

        function test_hostile_data() {
            return [{ tag: "not a number", item: item, x: NaN }, { tag: "infinite", item: item, x: Infinity },
                    { tag: "null", item: null, x: 50 }, { tag: "not ours", item: notOurs, x: 50 },
                    { tag: "a number", item: 42, x: 50 }];
        }
        function test_hostile(row) {
            compare(BllPicking.boxAt(row.item, row.x, 50), null);
            compare(BllPicking.boxesIn(row.item, row.x, 50, 10, 10).length, 0);
        }
    }
}
