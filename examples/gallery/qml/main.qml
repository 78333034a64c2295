import QtQuick 2.15
import QtQml.Models 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Bll.PaintedItem 1.2

// Every family of Bll_Painted_Item in one scene. The gallery's host registers the types itself;
// without it, `qml -I <install prefix>/<libdir>/qml main.qml` runs the scene on the installed
// QML module. The items' own methods never repaint, so every handler that calls them ends with
// the item's update(); BllBoxes and BllBoxModel repaint by themselves.
Rectangle {
    id: root

    width: 1024
    height: 640
    color: "#e9edf2"

    // Two looks for all families; "Restyle" switches between them.
    readonly property var themes: [{
            "name": "Slate",
            "penStyle": Qt.SolidLine, "penWidth": 1, "border": "#3b4a5a", "text": "#1d2733",
            "free": "#d5dde6", "pick": "#f0a030", "param": "#4f8fd8", "pickParam": "#c2410c",
            "dviLabel": "#3b4a5a", "marker": "#2f9e6e",
            "simpleFill": "#ffffff", "hover": "#fde68a", "selected": "#60a5fa",
            "rect": "#1f4e79", "rectFill": "#9dc3e6", "line": "#6b21a8",
            "lineFill": Qt.rgba(0.42, 0.13, 0.66, 0.18), "ellipse": "#385723",
            "ellipseFill": "#b5d99c"
        }, {
            "name": "Ember",
            "penStyle": Qt.DashLine, "penWidth": 2, "border": "#7c2d12", "text": "#431407",
            "free": "#fde7d4", "pick": "#84cc16", "param": "#a855f7", "pickParam": "#0f766e",
            "dviLabel": "#7c2d12", "marker": "#dc2626",
            "simpleFill": "#fff7ed", "hover": "#bbf7d0", "selected": "#f97316",
            "rect": "#9a3412", "rectFill": "#fed7aa", "line": "#0f766e",
            "lineFill": Qt.rgba(0.06, 0.46, 0.43, 0.2), "ellipse": "#1e3a8a",
            "ellipseFill": "#bfdbfe"
        }]
    property int themeIndex: 0
    readonly property var theme: themes[themeIndex]

    // The items' own background, cycled by "Fill colour".
    readonly property var fillColors: [Qt.rgba(1, 1, 1, 1), Qt.rgba(1, 0.97, 0.86, 1),
        Qt.rgba(0.88, 0.95, 1, 1), Qt.rgba(0.91, 0.98, 0.91, 1)]
    property int fillIndex: 0
    readonly property color fillColor: fillColors[fillIndex]

    // The colours of the current look, by meaning (the tests read them too).
    readonly property color freeColor: theme.free
    readonly property color pickColor: theme.pick
    readonly property color paramColor: theme.param
    readonly property color pickParamColor: theme.pickParam
    readonly property color markerColor: theme.marker
    readonly property color simpleFillColor: theme.simpleFill
    readonly property color hoverColor: theme.hover
    readonly property color selectedColor: theme.selected

    readonly property var parameterBoxes: [
        { "id": "P1", "x": 14, "y": 10, "width": 140, "height": 180, "border": 20 },
        { "id": "P2", "x": 172, "y": 10, "width": 140, "height": 180, "border": 20 },
        { "id": "P3", "x": 330, "y": 10, "width": 140, "height": 180, "border": 20 }
    ]
    readonly property var dviBoxes: [
        { "id": "D1", "x": 14, "y": 10, "width": 140, "height": 180, "border": 5,
            "sides": ["top", "bottom", "left", "right"] },
        { "id": "D2", "x": 172, "y": 10, "width": 140, "height": 180, "border": 5,
            "sides": ["top", "bottom"] },
        { "id": "D3", "x": 330, "y": 10, "width": 140, "height": 180, "border": 5,
            "sides": ["left", "right"] }
    ]
    // Two rows of four simple boxes, S2 selected.
    function simpleLayout() {
        var boxes = [];
        for (var row = 0; row < 2; ++row) {
            for (var column = 0; column < 4; ++column) {
                var boxId = "S" + (row * 4 + column + 1);
                boxes.push({ "boxId": boxId, "x": 10 + column * 118, "y": 6 + row * 96,
                             "width": 108, "height": 88, "isSelected": boxId === "S2" });
            }
        }
        return boxes;
    }

    // The simple boxes are the rows of this model, which simpleBoxFeed gives the simple item:
    // a row's isSelected is its box's selection, so selecting a box edits its row.
    ListModel {
        id: simpleBoxes
    }
    BllBoxModel {
        id: simpleBoxFeed
        target: simpleItem
        model: simpleBoxes
    }

    // The simple box under the pointer, so that moves within it change nothing. The other states
    // the scene reads back from the items (BllBoxes.box()).
    property string hoveredBox: ""

    property alias status: statusText.text
    readonly property string defaultStatus: "Click a band of a parameter box to pick it, "
            + "click near a side of a DVI box, hover and click the simple boxes."

    function sideKey(side) {
        return side + "Border";
    }

    function toggleBand(boxId, side) {
        var picked = !BllBoxes.box(parameterItem, "parameter", boxId)[sideKey(side)];
        var border = {};
        border[sideKey(side)] = picked;
        var parameter = parameterItem.updateBoxF(boxId, border);
        parameterItem.update();
        status = boxId + " " + side + (picked ? " picked" : " unpicked") + ", its parameter is "
                + parameter + (parameter === 1 ? " (none)" : "");
    }

    function giveParameterToPicked(value) {
        parameterItem.updateBoxParamF({ "currentParam": value });
        parameterItem.update();
        status = "Picked sides now carry the parameter " + value + ".";
    }

    function resetParameters() {
        parameterItem.updateAllBoxParamF({ "currentParam": 1 });
        parameterItem.update();
        status = "Every side is back to parameter 1 (none).";
    }

    function unpickAll() {
        parameterItem.updateAllBoxF({ "topBorder": false, "bottomBorder": false,
                                      "leftBorder": false, "rightBorder": false });
        parameterItem.update();
        status = "No side is picked.";
    }

    function toggleDviSide(boxId, side) {
        var on = !BllBoxes.box(dviItem, "dvi", boxId)[sideKey(side)];
        var border = {};
        border[sideKey(side)] = on;
        dviItem.updateBoxDVIF(boxId, border);
        dviItem.update();
        status = boxId + " " + side + " markers " + (on ? "on" : "off") + ".";
    }

    // BllBoxes passes over unknown boxIds ("" among them) and repaints what it changed.
    function setHovered(boxId) {
        if (boxId === hoveredBox)
            return;
        BllBoxes.setSimpleStates(simpleItem, hoveredBox, { "isHover": false });
        BllBoxes.setSimpleStates(simpleItem, boxId, { "isHover": true });
        hoveredBox = boxId;
    }

    function simpleRow(boxId) {
        for (var row = 0; row < simpleBoxes.count; ++row) {
            if (simpleBoxes.get(row).boxId === boxId)
                return row;
        }
        return -1;
    }

    function toggleSelected(boxId) {
        var row = simpleRow(boxId);
        var selected = !simpleBoxes.get(row).isSelected;
        simpleBoxes.setProperty(row, "isSelected", selected);
        status = boxId + (selected ? " selected." : " unselected.");
    }

    function unselectAll() {
        for (var row = 0; row < simpleBoxes.count; ++row)
            simpleBoxes.setProperty(row, "isSelected", false);
        status = "No simple box is selected.";
    }

    // Removing the rows removes their boxes.
    function removeSelected() {
        var removed = [];
        for (var row = simpleBoxes.count - 1; row >= 0; --row) {
            if (simpleBoxes.get(row).isSelected) {
                removed.unshift(simpleBoxes.get(row).boxId);
                simpleBoxes.remove(row);
            }
        }
        status = removed.length > 0 ? "Removed " + removed.join(", ") + "."
                                    : "No simple box is selected.";
    }

    function fillParameterBoxes() {
        parameterBoxes.forEach(function (box) {
            parameterItem.addBoxF(box.id, box.x, box.y, box.width, box.height, box.border);
        });
        // A few clicks' worth of state, so that every band colour shows from the start.
        toggleBand("P1", "top");
        toggleBand("P2", "top");
        toggleBand("P2", "right");
        giveParameterToPicked(3);
        toggleBand("P2", "right");
        toggleBand("P1", "left");
        toggleBand("P3", "bottom");
    }

    function fillDviBoxes() {
        dviBoxes.forEach(function (box) {
            dviItem.addBoxDVIF(box.id, box.x, box.y, box.width, box.height, box.border);
            var border = {};
            box.sides.forEach(function (side) {
                border[sideKey(side)] = true;
            });
            dviItem.updateBoxDVIF(box.id, border);
        });
        dviItem.updateAllBoxDVIF({ "showBorder": markersSwitch.checked,
                                   "showText": labelsSwitch.checked });
        dviItem.update();
    }

    function fillSimpleBoxes() {
        simpleBoxes.append(simpleLayout());
        setHovered("S7");
    }

    function fillShapes() {
        shapeItem.addRectF(12, 12, 110, 80);
        shapeItem.addRectF(40, 108, 110, 72, { "style": Qt.DashLine, "color": "#b45309",
                                              "brushColor": "#fde68a" });
        shapeItem.addEllipseF(170, 12, 120, 90);
        shapeItem.addEllipseF(190, 112, 70, 66, { "brushColor": Qt.rgba(0.95, 0.6, 0.7, 1),
                                                  "width": 3 });
        // The line family's brush fills the path through the lines' end points.
        shapeItem.addLineF(318, 180, 348, 44);
        shapeItem.addLineF(348, 44, 382, 130);
        shapeItem.addLineF(382, 130, 420, 24);
        shapeItem.addLineF(420, 24, 468, 180, { "style": Qt.DotLine, "width": 3, "color": "red" });
        shapeItem.update();
    }

    function applyTheme() {
        var t = theme;
        parameterItem.setBoxStyle({
            "style": t.penStyle, "width": t.penWidth, "color": t.border, "textColor": t.text,
            "brushColor": t.free, "pickBorderColor": t.pick,
            "paramBorderColor": t.param, "pickParamBorderColor": t.pickParam
        });
        dviItem.setBoxDVIStyle({ "style": Qt.SolidLine, "width": 1, "color": t.dviLabel,
                                 "brushColor": t.marker });
        simpleItem.setBoxSimpleStyle({
            "style": t.penStyle, "width": t.penWidth, "color": t.border, "textColor": t.text,
            "brushColor": t.simpleFill, "isHoverColor": t.hover,
            "isSelectedColor": t.selected
        });
        shapeItem.setRectStyle({ "style": t.penStyle, "width": 2, "color": t.rect,
                                 "brushColor": t.rectFill });
        shapeItem.setEllipseStyle({ "width": 2, "color": t.ellipse, "brushColor": t.ellipseFill });
        shapeItem.setLineStyle({ "width": 2, "color": t.line, "brushColor": t.lineFill });
        applyFill();
    }

    // Three setters write an item's fill colour; each family uses its own here.
    function applyFill() {
        parameterItem.setBoxStyle({ "fillColor": fillColor });
        simpleItem.setBoxSimpleStyle({ "fillColor": fillColor });
        dviItem.setBoxDVIFillColor(fillColor);
        shapeItem.setBoxDVIFillColor(fillColor);
        updateAll();
    }

    function updateAll() {
        [parameterItem, dviItem, simpleItem, shapeItem].forEach(function (item) {
            item.update();
        });
    }

    // The rows first: their feed removes the simple boxes, whose rows clearAll() would leave.
    function clearItems() {
        simpleBoxes.clear();
        hoveredBox = "";
        [parameterItem, dviItem, simpleItem, shapeItem].forEach(function (item) {
            item.clearAll();
        });
    }

    function fillAll() {
        clearItems();
        fillParameterBoxes();
        fillDviBoxes();
        fillSimpleBoxes();
        fillShapes();
        updateAll();
        status = defaultStatus;
    }

    Component.onCompleted: {
        applyTheme();
        fillAll();
    }

    // Saves an item into a file whose suffix names the format; pictures at twice its size.
    // The host's --export calls it too.
    function exportItem(item, file) {
        return BllExport.save(item, file, { "scale": 2, "title": "Gallery: " + item.objectName });
    }

    // Every item as PNG, PDF and SVG, into the directory (the current one when empty).
    function exportAll(directory) {
        var saved = 0, failures = [];
        [parameterItem, dviItem, simpleItem, shapeItem].forEach(function (item) {
            ["png", "pdf", "svg"].forEach(function (suffix) {
                var file = (directory === "" ? "" : directory + "/") + item.objectName + "." + suffix;
                var answer = exportItem(item, file);
                if (answer === "")
                    ++saved;
                else
                    failures.push(answer);
            });
        });
        status = "Saved " + saved + " files into " + (directory === "" ? "the current directory"
                                                                          : directory)
                + (failures.length > 0 ? "; " + failures[0] : ".");
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 8
        spacing: 8

        RowLayout {
            Layout.fillWidth: true
            spacing: 6

            Text {
                text: "Bll_Painted_Item gallery"
                color: "#1d2733"
                font.pixelSize: 20
                font.bold: true
            }
            Text {
                Layout.fillWidth: true
                text: "look: " + root.theme.name
                color: "#5b6776"
                font.pixelSize: 13
            }
            Button {
                objectName: "restyleButton"
                text: "Restyle"
                onClicked: {
                    root.themeIndex = (root.themeIndex + 1) % root.themes.length;
                    root.applyTheme();
                    root.status = "Every family restyled: " + root.theme.name + ".";
                }
            }
            Button {
                objectName: "fillButton"
                text: "Fill colour"
                onClicked: {
                    root.fillIndex = (root.fillIndex + 1) % root.fillColors.length;
                    root.applyFill();
                    root.status = "Fill colour " + root.fillColor + ".";
                }
            }
            Button {
                objectName: "clearAllButton"
                text: "Clear all"
                onClicked: {
                    root.clearItems();
                    root.updateAll();
                    root.status = "Every item is empty; styles and fill colour stay.";
                }
            }
            Button {
                objectName: "refillButton"
                text: "Refill"
                onClicked: root.fillAll()
            }
            TextField {
                id: exportDirectory
                objectName: "exportDirectory"
                Layout.preferredWidth: 170
                placeholderText: "export into (current dir.)"
                selectByMouse: true
            }
            Button {
                objectName: "exportButton"
                text: "Export"
                onClicked: root.exportAll(exportDirectory.text)
            }
        }

        GridLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            columns: 2
            rowSpacing: 8
            columnSpacing: 8

            Panel {
                title: "Parameter boxes"
                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.preferredWidth: 1
                Layout.preferredHeight: 1

                header: Repeater {
                    model: [
                        { "label": "free", "color": root.freeColor },
                        { "label": "picked", "color": root.pickColor },
                        { "label": "parameter", "color": root.paramColor },
                        { "label": "both", "color": root.pickParamColor }
                    ]
                    Row {
                        spacing: 4
                        Rectangle {
                            width: 12
                            height: 12
                            anchors.verticalCenter: parent.verticalCenter
                            color: modelData.color
                            border.color: "#3b4a5a"
                        }
                        Text {
                            text: modelData.label
                            color: "#5b6776"
                            font.pixelSize: 12
                        }
                    }
                }

                BllPaintedItem {
                    id: parameterItem
                    objectName: "parameterItem"
                    anchors.fill: parent

                    // The item tells which box, and which band of it, lies under the mouse.
                    MouseArea {
                        anchors.fill: parent
                        onClicked: function (mouse) {
                            var box = BllPicking.boxAt(parameterItem, mouse.x, mouse.y);
                            if (box && box.side !== "")
                                root.toggleBand(box.boxId, box.side);
                        }
                    }
                }

                controls: [
                    SpinBox {
                        id: parameterSpin
                        objectName: "parameterSpin"
                        from: 2
                        to: 9
                        value: 3
                        textFromValue: function (value) {
                            return "parameter " + value;
                        }
                    },
                    Button {
                        objectName: "giveParameterButton"
                        text: "Give to picked"
                        onClicked: root.giveParameterToPicked(parameterSpin.value)
                    },
                    Button {
                        objectName: "resetParametersButton"
                        text: "Reset all"
                        onClicked: root.resetParameters()
                    },
                    Button {
                        objectName: "unpickButton"
                        text: "Unpick all"
                        onClicked: root.unpickAll()
                    },
                    Button {
                        objectName: "clearParameterButton"
                        text: "Clear"
                        onClicked: {
                            parameterItem.clearBoxF();
                            parameterItem.update();
                        }
                    }
                ]
            }

            Panel {
                title: "DVI boxes"
                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.preferredWidth: 1
                Layout.preferredHeight: 1

                header: Text {
                    text: "markers inside the sides that are on"
                    color: "#5b6776"
                    font.pixelSize: 12
                }

                BllPaintedItem {
                    id: dviItem
                    objectName: "dviItem"
                    anchors.fill: parent

                    // A DVI box paints no outline; these faint frames only show where the boxes are.
                    Repeater {
                        model: root.dviBoxes
                        Rectangle {
                            x: modelData.x
                            y: modelData.y
                            width: modelData.width
                            height: modelData.height
                            color: "transparent"
                            border.color: "#dde3ea"
                        }
                    }
                    MouseArea {
                        anchors.fill: parent
                        onClicked: function (mouse) {
                            var box = BllPicking.boxAt(dviItem, mouse.x, mouse.y);
                            if (box)
                                root.toggleDviSide(box.boxId, box.side); // the nearest side
                        }
                    }
                }

                controls: [
                    Switch {
                        id: markersSwitch
                        objectName: "markersSwitch"
                        text: "Markers"
                        checked: true
                        onToggled: {
                            dviItem.updateAllBoxDVIF({ "showBorder": checked });
                            dviItem.update();
                        }
                    },
                    Switch {
                        id: labelsSwitch
                        objectName: "labelsSwitch"
                        text: "Labels"
                        checked: true
                        onToggled: {
                            dviItem.updateAllBoxDVIF({ "showText": checked });
                            dviItem.update();
                        }
                    },
                    Item {
                        Layout.fillWidth: true
                    },
                    Button {
                        objectName: "clearDviButton"
                        text: "Clear"
                        onClicked: {
                            dviItem.clearBoxDVIF();
                            dviItem.update();
                        }
                    }
                ]
            }

            Panel {
                title: "Simple boxes"
                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.preferredWidth: 1
                Layout.preferredHeight: 1

                header: Text {
                    text: "filled by hover and selection"
                    color: "#5b6776"
                    font.pixelSize: 12
                }

                BllPaintedItem {
                    id: simpleItem
                    objectName: "simpleItem"
                    anchors.fill: parent

                    MouseArea {
                        anchors.fill: parent
                        hoverEnabled: true
                        // Entering reports no move, so both ask which box is under the mouse.
                        function hoverUnderMouse() {
                            var box = BllPicking.boxAt(simpleItem, mouseX, mouseY);
                            root.setHovered(box ? box.boxId : "");
                        }
                        onEntered: hoverUnderMouse()
                        onPositionChanged: hoverUnderMouse()
                        onExited: root.setHovered("")
                        onClicked: function (mouse) {
                            var box = BllPicking.boxAt(simpleItem, mouse.x, mouse.y);
                            if (box)
                                root.toggleSelected(box.boxId);
                        }
                    }

                    // Tab into the boxes, move with the arrows, Space selects; screen readers
                    // follow the ring.
                    BllBoxNavigator {
                        objectName: "simpleNavigator"
                        anchors.fill: parent
                        target: simpleItem
                        onActivated: function (box) {
                            root.toggleSelected(box.boxId);
                        }
                    }
                }

                controls: [
                    Button {
                        objectName: "unselectButton"
                        text: "Unselect all"
                        onClicked: root.unselectAll()
                    },
                    Button {
                        objectName: "removeSelectedButton"
                        text: "Remove selected"
                        onClicked: root.removeSelected()
                    },
                    Item {
                        Layout.fillWidth: true
                    },
                    Button {
                        objectName: "clearSimpleButton"
                        text: "Clear"
                        onClicked: {
                            simpleBoxes.clear();
                            root.hoveredBox = "";
                        }
                    }
                ]
            }

            Panel {
                title: "Rectangles, lines, ellipses"
                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.preferredWidth: 1
                Layout.preferredHeight: 1

                header: Text {
                    text: "painted by a derived item"
                    color: "#5b6776"
                    font.pixelSize: 12
                }

                BllShapePaintedItem {
                    id: shapeItem
                    objectName: "shapeItem"
                    anchors.fill: parent
                }

                controls: [
                    Button {
                        objectName: "clearRectButton"
                        text: "Clear rectangles"
                        onClicked: {
                            shapeItem.clearRectF();
                            shapeItem.update();
                        }
                    },
                    Button {
                        objectName: "clearLineButton"
                        text: "Clear lines"
                        onClicked: {
                            shapeItem.clearLineF();
                            shapeItem.update();
                        }
                    },
                    Button {
                        objectName: "clearEllipseButton"
                        text: "Clear ellipses"
                        onClicked: {
                            shapeItem.clearEllipseF();
                            shapeItem.update();
                        }
                    }
                ]
            }
        }

        Text {
            id: statusText
            objectName: "statusText"
            Layout.fillWidth: true
            color: "#1d2733"
            font.pixelSize: 13
            elide: Text.ElideRight
        }
    }
}
