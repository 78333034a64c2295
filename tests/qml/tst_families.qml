import QtQuick 2.15
import QtTest 1.15
import Bll.PaintedItem 1.0

// The module's items as a QML-only application uses them: every family driven with JavaScript
// values (numbers, strings, option maps, Qt.rgba colours) and checked by rendered pixels; and
// the gallery's scene, run without its C++ host and driven by mouse.
Item {
    id: root
    width: 1024
    height: 640

    Component { id: plainItem; BllPaintedItem { } }
    Component { id: shapeItem; BllShapePaintedItem { } }

    TestCase {
        name: "Families"
        when: windowShown

        // One 200x120 box with 24-wide bands; each probe sits in the middle of a band.
        function parameterBox(item) {
            item.setBoxStyle({ brushColor: "#c0c0c0", pickBorderColor: Qt.rgba(1, 0.5, 0, 1),
                               paramBorderColor: "blue", pickParamBorderColor: 7 });
            item.addBoxF("p", 20, 20, 200, 120, 24);
            item.updateBoxF("p", { topBorder: true, rightBorder: true });
            item.updateBoxParamF({ currentParam: 3 });
            item.updateBoxF("p", { rightBorder: false });
            item.updateBoxF("p", { leftBorder: 1 });
        }
        function shapes(item) {
            item.setRectStyle({ brushColor: "#00ff00" });
            item.addRectF(20, 20, 80, 60);
            item.addRectF(120, 20, 80, 60, { brushColor: "blue", color: "red", width: 3 });
            item.setEllipseStyle({ brushColor: "yellow" });
            item.addEllipseF(130, 90, 80, 60, { brushColor: Qt.rgba(0, 1, 1, 1) });
            item.addEllipseF(10, 100, 30, 30);
            item.setLineStyle({ brushColor: "magenta" });
            item.addLineF(50, 150, 80, 100);
            item.addLineF(80, 100, 110, 150);
        }
        // All six families on navy, each with its clear and a probe of its colour.
        readonly property var everyFamily: [["clearBoxF", 40, 10, "red"],
            ["clearBoxDVIF", 110, 14, "blue"], ["clearBoxSimpleF", 170, 10, "green"],
            ["clearRectF", 35, 120, "#00ff00"], ["clearEllipseF", 115, 120, "cyan"],
            ["clearLineF", 200, 135, "magenta"]]
        function addEveryFamily(item) {
            item.setBoxStyle({ pickBorderColor: "red" });
            item.addBoxF("p", 0, 0, 80, 80, 20);
            item.updateBoxF("p", { topBorder: true });
            item.setBoxDVIStyle({ brushColor: "blue" });
            item.addBoxDVIF("d", 80, 0, 80, 80, 6);
            item.updateBoxDVIF("d", { topBorder: true });
            item.setBoxSimpleStyle({ isSelectedColor: "green" });
            item.addBoxSimpleF("s", 160, 0, 80, 80);
            item.updateBoxSimpleF("s", { isSelected: true });
            item.setRectStyle({ brushColor: "#00ff00" }); item.addRectF(0, 90, 70, 60);
            item.setEllipseStyle({ brushColor: "cyan" }); item.addEllipseF(80, 90, 70, 60);
            item.setLineStyle({ brushColor: "magenta" });
            item.addLineF(160, 150, 200, 95); item.addLineF(200, 95, 240, 150);
            item.setBoxDVIFillColor("#000080"); // last: the box and simple-box styles set it too
        }
        function probesAfterClear(cleared) {
            return everyFamily.map(function (family) {
                return family.slice(1, 3).concat(cleared(family[0]) ? "#000080" : family[3]);
            });
        }

        // Whether two colours are the same, within rounding.
        function near(actual, expected) {
            var wanted = Qt.tint(expected, "transparent");
            return Math.abs(actual.r - wanted.r) + Math.abs(actual.g - wanted.g)
                    + Math.abs(actual.b - wanted.b) < 0.03;
        }

        function test_paints_data() {
            return [["parameter bands: picked+param, picked, param, free", plainItem, parameterBox,
                     [[120, 32, "red"], [32, 80, "#ff8000"], [208, 80, "blue"], [120, 128, "#c0c0c0"]]],
                    ["simple boxes filled by state, fill colour behind", plainItem, function (item) {
                        item.setBoxSimpleStyle({ brushColor: "white", isHoverColor: "yellow",
                                                 isSelectedColor: Qt.rgba(0, 0.5, 0, 1),
                                                 fillColor: "#000080" });
                        ["plain", "hovered", "selected", "both"].forEach(function (id, i) {
                            item.addBoxSimpleF(id, 10 + 80 * (i % 3), 10 + 80 * (i > 2), 60, 60);
                        });
                        item.updateBoxSimpleF("hovered", { isHover: true });
                        item.updateBoxSimpleF("selected", { isSelected: true });
                        item.updateBoxSimpleF("both", { isHover: 2, isSelected: "true" });
                    }, [[16, 16, "white"], [96, 16, "yellow"], [176, 16, "#008000"],
                        [16, 96, "#008000"], [150, 130, "#000080"]]],
                    ["shapes painted by the derived item, ellipses first", shapeItem, shapes,
                     [[60, 50, "#00ff00"], [160, 50, "blue"], [120, 50, "red"], [170, 120, "cyan"],
                      [25, 115, "yellow"], [80, 135, "magenta"]]],
                    ["clearAll empties every family, styles and fill colour stay", shapeItem,
                     function (item) {
                         addEveryFamily(item);
                         item.clearAll();
                         item.addRectF(0, 90, 70, 60);
                     }, probesAfterClear(function (clear) { return clear !== "clearRectF"; })]]
                    .concat(everyFamily.map(function (family) { // each clear empties its own family
                        return [family[0] + " empties its family only", shapeItem, function (item) {
                            addEveryFamily(item);
                            item[family[0]]();
                        }, probesAfterClear(function (clear) { return clear === family[0]; })];
                    })).map(function (row) {
                        return { tag: row[0], type: row[1], script: row[2], probes: row[3] };
                    });
        }
        // Runs the script on one 240x160 item on white, renders it and checks the probes.
        function test_paints(row) {
            var scene = createTemporaryQmlObject(
                        "import QtQuick 2.15; Rectangle { anchors.fill: parent; color: 'white' }", root);
            var item = createTemporaryObject(row.type, scene, { width: 240, height: 160 });
            row.script(item);
            item.update();
            waitForRendering(item);
            var image = grabImage(root);
            row.probes.forEach(function (probe) {
                verify(near(image.pixel(probe[0], probe[1]), probe[2]),
                       "pixel (" + probe[0] + ", " + probe[1] + ") is " + image.pixel(probe[0], probe[1])
                       + ", not " + probe[2]);
            });
        }

        // Each row proves that a control of the gallery reaches its item. Actions are "click
        // <item> x y", "move <item> x y" or "press <control>"; spots are "<item> x y <colour>"
        // where the pixel shows the scene's colour property, "!<colour>" anything else,
        // "<colour>*" one that the actions changed, "ink" and "!ink" 40x24 with a label or without.
        function test_gallery_data() {
            // P1 at (14, 10) has its left band picked; P3 at (330, 10) has 20-wide bands. Corners
            // of S1, S4 and S7 (hovered at first) lie clear of the labels; D1's top-left marker is
            // near (39, 22), and D2 has no left markers until a click near its left side.
            var p3Top = "parameterItem 400 20", families = "parameterItem 24 100 %; dviItem 39 22 %;"
                    + "simpleItem 136 14 %; shapeItem 30 30 %; shapeItem 230 57 %; shapeItem 420 150 %";
            return [["every family at start", "", families.replace(/%/g, "!fillColor")],
                    ["click picks a band", "click " + p3Top, p3Top + " pickColor",
                     "P3 top picked, its parameter is 1 (none)"],
                    ["give a parameter, unpick: the band keeps it", "click " + p3Top
                     + "; press giveParameterButton; click " + p3Top, p3Top + " paramColor",
                     "P3 top unpicked, its parameter is 3"],
                    ["unpick all", "press unpickButton", "parameterItem 24 100 freeColor"],
                    ["select one box, hover another", "move simpleItem 18 14; click simpleItem 18 14;"
                     + "move simpleItem 254 110; move simpleItem 372 14", "simpleItem 18 14 selectedColor;"
                     + "simpleItem 372 14 hoverColor; simpleItem 254 110 simpleFillColor"],
                    ["unselect all", "press unselectButton", "simpleItem 136 14 simpleFillColor",
                     "No simple box is selected."],
                    ["remove the selected boxes, S2 and a clicked one", "click simpleItem 18 14;"
                     + "press removeSelectedButton", "simpleItem 18 14 fillColor;"
                     + "simpleItem 136 14 fillColor; simpleItem 254 14 simpleFillColor",
                     "Removed S1, S2."],
                    ["markers off, labels off and a click near a side", "press markersSwitch;"
                     + "press labelsSwitch; press markersSwitch; click dviItem 182 100",
                     "dviItem 39 22 markerColor; dviItem 184 35 markerColor; dviItem 64 88 !ink"],
                    ["new fill colour, restyle", "press fillButton; press restyleButton; move simpleItem 254 110",
                     "parameterItem 5 100 fillColor*; dviItem 5 100 fillColor*; simpleItem 4 50 fillColor*;"
                     + "shapeItem 4 100 fillColor*; parameterItem 24 100 pickColor*;"
                     + "simpleItem 254 110 hoverColor*; dviItem 39 22 markerColor*"],
                    ["each clear button", "press clearParameterButton; press clearDviButton;"
                     + "press clearSimpleButton; press clearRectButton; press clearEllipseButton;"
                     + "press clearLineButton", families.replace(/%/g, "fillColor")],
                    ["clear all, refill", "press clearAllButton; press refillButton",
                     families.replace(/%/g, "!fillColor")]].map(function (row) {
                return { tag: row[0], actions: row[1], spots: row[2], status: row[3] };
            });
        }
        function test_gallery(row) {
            var gallery = createTemporaryObject(
                        Qt.createComponent("../../examples/gallery/qml/main.qml"), root);
            var words = function (text) { return text.split(";").map(function (w) { return w.trim().split(" "); })
                                                      .filter(function (w) { return w[0]; }); };
            var colour = function (name) { return "" + gallery[name.replace(/[!*]/g, "")]; };
            var spots = words(row.spots), before = spots.map(function (s) { return colour(s[3]); });
            waitForRendering(gallery);
            words(row.actions).forEach(function (action) {
                var item = findChild(gallery, action[1]);
                if (action[0] === "move")
                    mouseMove(item, Number(action[2]), Number(action[3]));
                else if (action[0] === "click")
                    mouseClick(item, Number(action[2]), Number(action[3]));
                else
                    mouseClick(item);
                waitForRendering(gallery);
            });
            var image = grabImage(root);
            spots.forEach(function (spot, i) {
                var at = findChild(gallery, spot[0]).mapToItem(root, Number(spot[1]), Number(spot[2]));
                if (spot[3].endsWith("ink")) { // a label leaves dozens of pixels unlike the fill
                    var ink = 0;
                    for (var y = 0; y < 24; ++y)
                        for (var x = 0; x < 40; ++x)
                            ink += !Qt.colorEqual(image.pixel(at.x + x, at.y + y), gallery.fillColor);
                    compare(ink > 20, spot[3] === "ink", spot.join(" "));
                    return;
                }
                verify(!spot[3].endsWith("*") || colour(spot[3]) !== before[i], spot.join(" "));
                compare(near(image.pixel(at.x, at.y), colour(spot[3])), !spot[3].startsWith("!"),
                        spot.join(" ") + " is " + image.pixel(at.x, at.y));
            });
            if (row.status)
                compare(gallery.status, row.status);
        }
    }
}
