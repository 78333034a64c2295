import QtQuick 2.15
import QtTest 1.15
import Bll.PaintedItem 1.0

// Whatever a script computes reaches the item: NaN, infinities, numbers past int, strings,
// objects and lists where numbers, maps or colours belong, on an item holding valid records of
// every family; once those and their styles and states are set again, it paints exactly as
// before. A call QML refuses to convert (a JavaScript exception) never reaches the item.
Item {
    id: root
    width: 240
    height: 160

    BllShapePaintedItem { id: item; anchors.fill: parent }

    TestCase {
        name: "HostileInput"
        when: windowShown

        readonly property var hostileValues: [NaN, Infinity, -Infinity, 1e300, -1e300, 2147483648,
            -2147483649, 0, -25, 20, "text", "", undefined, null, true, ({}), [7, "red"],
            ({ color: 7 })]
        // Each family's valid records, under the clear that removes them.
        readonly property var records: ({
            "clearRectF": [["addRectF", 5, 5, 40, 30, { color: 7 }], ["addRectF", 50, 5, 30, 30]],
            "clearLineF": [["addLineF", 5, 50, 60, 70], ["addLineF", 60, 70, 90, 50, { width: 3 }]],
            "clearEllipseF": [["addEllipseF", 100, 5, 40, 30, { brushColor: "#00ff00" }]],
            "clearBoxF": [["addBoxF", "param", 150, 5, 85, 70, 12]],
            "clearBoxDVIF": [["addBoxDVIF", "dvi", 5, 80, 110, 75, 4]],
            "clearBoxSimpleF": [["addBoxSimpleF", "simple", 120, 80, 55, 75],
                                ["addBoxSimpleF", "hovered", 180, 80, 55, 75]]
        })
        // Every style and state of the valid records, all four band colours in use.
        readonly property var styles: [
            ["setRectStyle", { style: 1, width: 1, color: 2, brushColor: 3 }],
            ["setLineStyle", { style: 1, width: 2, color: 4, brushColor: Qt.rgba(0, 0, 1, 0.3) }],
            ["setEllipseStyle", { style: 3, width: 1, color: 5, brushColor: 6 }],
            ["setBoxDVIStyle", { style: 1, width: 1, color: 7, brushColor: 8 }],
            ["setBoxStyle", { style: 2, width: 1, color: 9, brushColor: 10, textColor: 11,
                              fillColor: "lightgrey", pickBorderColor: 12, paramBorderColor: 13,
                              pickParamBorderColor: 14 }],
            ["setBoxSimpleStyle", { style: 1, width: 2, color: 15, brushColor: 16, textColor: 17,
                                    fillColor: "lightgrey", isHoverColor: 18, isSelectedColor: 4 }],
            ["updateAllBoxDVIF", { showText: true, showBorder: true, topBorder: true,
                                   bottomBorder: true, leftBorder: true, rightBorder: false }],
            ["updateAllBoxF", { topBorder: true, bottomBorder: true, leftBorder: true, rightBorder: true }],
            ["updateAllBoxParamF", { currentParam: 1 }],
            ["updateAllBoxF", { topBorder: false, bottomBorder: false, rightBorder: false }],
            ["updateBoxParamF", { currentParam: 2.5 }],
            ["updateBoxF", "param", { leftBorder: false, topBorder: true }],
            ["updateBoxDVIF", "dvi", { rightBorder: true }],
            ["updateBoxSimpleF", "simple", { isHover: false, isSelected: true }],
            ["updateBoxSimpleF", "hovered", { isHover: true, isSelected: false }]]
        property var reference

        function call(args) {
            try { item[args[0]].apply(item, args.slice(1)); } catch (refused) { }
        }
        function setValidAndRender(clears) {
            clears.forEach(function (clear) {
                item[clear]();
                records[clear].forEach(call);
            });
            styles.forEach(call);
            item.update();
            waitForRendering(item);
        }
        function initTestCase() {
            setValidAndRender(Object.keys(records));
            reference = grabImage(root);
        }

        // Each hostile value as every argument of each method, and as x, and as every key.
        function test_hostile_data() {
            var rows = [], replaced = function (args, value, replace) {
                return args.map(function (arg, i) { return replace(i) ? value : arg; });
            };
            hostileValues.forEach(function (value) {
                var named = " = " + (typeof value === "object" ? JSON.stringify(value) : value);
                Object.keys(records).forEach(function (clear) {
                    var add = records[clear][0], x = typeof add[1] === "string" ? 2 : 1;
                    rows.push({ tag: add[0] + " x" + named, clears: [clear],
                                calls: [replaced(add, value, function (i) { return i === x; })] });
                });
                styles.concat(Object.keys(records).map(function (clear) { return records[clear][0]; }),
                              [["setBoxDVIFillColor", "white"]]).forEach(function (args) {
                    var map = args[args.length - 1], keys = {};
                    Object.keys(map).forEach(function (key) { keys[key] = value; });
                    var clears = args[0].startsWith("add") ? Object.keys(records) : [];
                    rows.push({ tag: args[0] + " every argument" + named, clears: clears,
                                calls: [replaced(args, value, function (i) { return i > 0; })] });
                    if (typeof map === "object")
                        rows.push({ tag: args[0] + " every key" + named, clears: clears,
                                    calls: [args.slice(0, -1).concat(keys)] });
                });
            });
            rows.push({ tag: "boxIds of 1 MB", clears: Object.keys(records),
                        calls: ["addBoxF", "addBoxDVIF", "addBoxSimpleF"].map(function (add) {
                            return [add, "M".repeat(1 << 20), 10, 10, 100, 50, 2];
                        }) });
            return rows;
        }
        function test_hostile(row) {
            row.calls.forEach(call);
            item.update();
            waitForRendering(item); // the hostile state itself
            setValidAndRender(row.clears);
            verify(grabImage(root).equals(reference));
        }
    }
}
