import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Bll.PaintedItem 1.2

// A plan of a million boxes in one BllViewItem: 400 halls (parameter boxes), each of 100 rooms
// (DVI boxes), each of 24 shelves (simple boxes). Wheel or the buttons zoom, a drag pans, the
// pointer's box shows in a tooltip, Shift and a drag select the shelves in a rubber band, and
// "Save view" saves what the view shows. `gallery --page plan` opens it.
Rectangle {
    id: root

    width: 1024
    height: 640
    color: "#e9edf2"

    readonly property int hallsAcross: 20
    readonly property int roomsAcross: 10
    readonly property real hallWidth: 2000
    readonly property real hallHeight: 1500
    readonly property real roomWidth: 180
    readonly property real roomHeight: 130
    readonly property int halls: hallsAcross * hallsAcross
    property int hallsAdded: 0
    property var selected: []
    property string message: ""

    // Hall h, its rooms and their shelves.
    function addHall(h) {
        var hx = (h % hallsAcross) * (hallWidth + 100);
        var hy = Math.floor(h / hallsAcross) * (hallHeight + 100);
        plan.addBoxF("hall " + h, hx, hy, hallWidth, hallHeight, 40);
        for (var r = 0; r < roomsAcross * roomsAcross; ++r) {
            var rx = hx + 90 + (r % roomsAcross) * (roomWidth + 2);
            var ry = hy + 90 + Math.floor(r / roomsAcross) * (roomHeight + 2);
            var room = "room " + h + "." + r;
            plan.addBoxDVIF(room, rx, ry, roomWidth, roomHeight, 4);
            for (var s = 0; s < 24; ++s)
                plan.addBoxSimpleF(room + "." + s, rx + 8 + (s % 6) * 28, ry + 10 + Math.floor(s / 6) * 28,
                                   24, 24);
        }
    }

    // Halls are added a few at a time, so that the window stays live while the plan fills.
    function addSomeHalls() {
        for (var i = 0; i < 8 && hallsAdded < halls; ++i)
            addHall(hallsAdded++);
        if (hallsAdded === halls)
            plan.fitToScene();
        else
            Qt.callLater(addSomeHalls);
        plan.update();
    }

    function select(boxes) {
        var now = [];
        for (var i = 0; i < boxes.length && now.length < 10000; ++i) {
            if (boxes[i].family === "simple")
                now.push(boxes[i].boxId);
        }
        root.selected.forEach(function (id) { plan.updateBoxSimpleF(id, { "isSelected": false }); });
        now.forEach(function (id) { plan.updateBoxSimpleF(id, { "isSelected": true }); });
        root.selected = now;
        plan.update();
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 8

        RowLayout {
            Button { text: "Fit"; onClicked: plan.fitToScene() }
            Button { text: "+"; onClicked: plan.zoomAt(plan.width / 2, plan.height / 2, 1.25) }
            Button { text: "\u2212"; onClicked: plan.zoomAt(plan.width / 2, plan.height / 2, 0.8) }
            Button {
                text: "Save view"
                onClicked: {
                    var error = BllExport.save(plan, "plan-view.png");
                    root.message = error === "" ? "saved plan-view.png" : error;
                }
            }
            Label {
                Layout.fillWidth: true
                text: (root.hallsAdded < root.halls
                       ? "adding halls: " + root.hallsAdded + " of " + root.halls + "   " : "")
                      + "scale " + plan.viewScale.toPrecision(3)
                      + "   selected " + root.selected.length + "   " + root.message
            }
        }

        BllViewItem {
            id: plan
            objectName: "planView"
            Layout.fillWidth: true
            Layout.fillHeight: true
            focus: true
            clip: true
            Component.onCompleted: {
                setBoxStyle({ "color": "#3b4a5a", "brushColor": "#d5dde6", "fillColor": "#ffffff" });
                setBoxDVIStyle({ "color": "#2f9e6e" });
                setBoxSimpleStyle({ "brushColor": "#ffffff", "isHoverColor": "#fde68a",
                                    "isSelectedColor": "#60a5fa" });
                setView(0.25, -100, -100);
                root.addHall(root.hallsAdded++);
                Qt.callLater(root.addSomeHalls);
            }

            MouseArea {
                id: pointer
                anchors.fill: parent
                hoverEnabled: true
                property var hovered: null
                property real fromX
                property real fromY
                // Shift and a drag select; any other press goes on to the view, which pans.
                onPressed: function (mouse) {
                    mouse.accepted = (mouse.modifiers & Qt.ShiftModifier) !== 0;
                    fromX = mouse.x;
                    fromY = mouse.y;
                    band.visible = mouse.accepted;
                }
                onPositionChanged: function (mouse) {
                    if (band.visible) {
                        band.x = Math.min(fromX, mouse.x);
                        band.y = Math.min(fromY, mouse.y);
                        band.width = Math.abs(mouse.x - fromX);
                        band.height = Math.abs(mouse.y - fromY);
                        return;
                    }
                    var box = BllPicking.boxAt(plan, mouse.x, mouse.y);
                    var id = box ? box.boxId : null;
                    if (hovered && hovered !== id)
                        plan.updateBoxSimpleF(hovered, { "isHover": false });
                    if (box && box.family === "simple")
                        plan.updateBoxSimpleF(id, { "isHover": true });
                    hovered = box && box.family === "simple" ? id : null;
                    ToolTip.text = box ? box.family + " " + id : "";
                    plan.update();
                }
                onReleased: {
                    if (!band.visible)
                        return;
                    band.visible = false;
                    root.select(BllPicking.boxesIn(plan, band.x, band.y, band.width, band.height));
                }
                ToolTip.visible: containsMouse && ToolTip.text !== ""
                ToolTip.delay: 300
            }
            Rectangle {
                id: band
                visible: false
                color: "#3360a5fa"
                border.color: "#60a5fa"
            }
        }
    }
}
