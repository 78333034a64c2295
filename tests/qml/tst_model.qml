import QtQuick 2.15
import QtQml.Models 2.15
import QtTest 1.15
import Bll.PaintedItem 1.2

// BllBoxModel fed by a ListModel, and BllBoxes, as a QML application uses them: the mapped item
// against one given the same rows through its own methods, after every edit of the model.
Item {
    width: 480
    height: 160

    ListModel {
        id: plan
        ListElement { boxId: "a"; x: 10; y: 10; width: 80; height: 60; isSelected: false }
        ListElement { boxId: "b"; x: 40; y: 30; width: 80; height: 60; isSelected: true }
        ListElement { boxId: "c"; x: 70; y: 50; width: 80; height: 60; isSelected: false }
    }
    BllPaintedItem {
        id: mapped
        width: 240
        height: 160
    }
    BllBoxModel {
        id: mapper
        target: mapped
        model: plan
    }
    BllPaintedItem {
        id: direct
        x: 240
        width: 240
        height: 160
    }

    ListModel { id: late }
    BllPaintedItem { id: lateItem }
    BllBoxModel {
        id: lateMapper
        target: lateItem
        model: late
        family: "parameter"
        idRole: "name"
        stateRoles: ({ "topBorder": "picked" })
    }
    Rectangle { id: notOurs }

    TestCase {
        name: "Model"
        when: windowShown

        function feedDirectly() {
            direct.clearBoxSimpleF();
            for (var i = 0; i < plan.count; ++i) {
                var row = plan.get(i);
                direct.addBoxSimpleF(row.boxId, row.x, row.y, row.width, row.height);
                direct.updateBoxSimpleF(row.boxId, { "isSelected": row.isSelected });
            }
            direct.update();
        }

        function compareWithDirect(what) {
            feedDirectly();
            compare(BllBoxes.ids(mapped, "simple"), BllBoxes.ids(direct, "simple"), what);
            compare(mapper.count, plan.count, what);
            wait(50);
            var a = grabImage(mapped), b = grabImage(direct);
            for (var y = 0; y < 160; y += 3)
                for (var x = 0; x < 240; x += 3)
                    if (a.pixel(x, y) !== b.pixel(x, y))
                        fail(what + ": pixel " + x + ", " + y + " differs");
        }

        function test_editsOfTheModel() {
            compareWithDirect("as loaded");
            plan.append({ "boxId": "d", "x": 20, "y": 80, "width": 90, "height": 50,
                          "isSelected": true });
            compareWithDirect("appended");
            plan.insert(0, { "boxId": "e", "x": 100, "y": 20, "width": 90, "height": 50,
                             "isSelected": false });
            compareWithDirect("inserted first");
            plan.setProperty(1, "isSelected", true);
            compareWithDirect("selected");
            plan.setProperty(2, "x", 130.5);
            compareWithDirect("moved");
            plan.move(0, 3, 1);
            compareWithDirect("a row moved");
            plan.remove(1, 2);
            compareWithDirect("removed");
            plan.setProperty(0, "boxId", "z");
            compareWithDirect("renamed");
            plan.clear();
            compareWithDirect("cleared");
        }

        // A ListModel has no roles before its first row.
        function test_rolesThatAppearLate() {
            compare(lateMapper.count, 0);
            late.append({ "name": "p", "x": 5, "y": 5, "width": 60, "height": 40,
                          "borderWidth": 4, "picked": true });
            compare(BllBoxes.ids(lateItem, "parameter"), ["p"]);
            var box = BllBoxes.box(lateItem, "parameter", "p");
            compare(box.borderWidth, 4);
            compare(box.topBorder, true);
            compare(box.leftBorder, false);
            late.setProperty(0, "picked", false);
            compare(BllBoxes.box(lateItem, "parameter", "p").topBorder, false);
        }

        function test_readBackAndBulk() {
            var item = Qt.createQmlObject("import Bll.PaintedItem 1.2; BllPaintedItem {}", this);
            item.addBoxSimpleF("s", 1.5, 2, 30, 40);
            item.addBoxSimpleF("t", 50, 2, 30, 40);
            item.updateBoxSimpleF("s", { "isHover": true });
            var s = BllBoxes.box(item, "simple", "s");
            compare([s.family, s.boxId, s.x, s.y, s.width, s.height, s.isHover, s.isSelected],
                    ["simple", "s", 1.5, 2, 30, 40, true, false]);
            compare(BllBoxes.setSimpleStates(item, ["s", "t", "nobody"], { "isSelected": 1 }), 2);
            compare(BllBoxes.setAllSimpleStates(item, { "isSelected": false, "isHover": false }),
                    2);
            compare(BllBoxes.remove(item, "simple", "s"), 1);
            compare(BllBoxes.box(item, "simple", "s"), null);
            compare(BllBoxes.ids(item, "simple"), ["t"]);
            item.destroy();
        }

        function test_hostile_data() {
            return [{ tag: "null", item: null }, { tag: "not ours", item: notOurs },
                    { tag: "a number", item: 42 }, { tag: "undefined", item: undefined }];
        }
        function test_hostile(row) {
            compare(BllBoxes.box(row.item, "simple", "a"), null);
            compare(BllBoxes.ids(row.item, "simple").length, 0);
            compare(BllBoxes.count(row.item, "simple"), 0);
            compare(BllBoxes.remove(row.item, "simple", ["a"]), 0);
            compare(BllBoxes.setAllSimpleStates(row.item, { "isSelected": true }), 0);
            // Names and lists a script may pass by mistake touch nothing.
            compare(BllBoxes.count(mapped, "Simple"), 0);
            compare(BllBoxes.remove(mapped, "simple", null), 0);
            compare(BllBoxes.remove(mapped, "simple", undefined), 0);
            compare(BllBoxes.remove(mapped, "nonsense", "a"), 0);
            compare(BllBoxes.setSimpleStates(mapped, { "a": 1 }, { "isHover": true }), 0);
        }
    }
}
