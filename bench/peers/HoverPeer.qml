import QtQuick 2.15
import Bll 1.1

// The item as ItemPeer feeds it, its simple boxes hovered by the pointer as the gallery hovers
// them: the box under the pointer found by BllPicking.boxAt(), or, with `scan`, by the gallery's
// former JavaScript scan over an array of the simple boxes. The item is 64 pixels taller than
// the scene: below the boxes the pointer finds none.
ItemPeer {
    id: item
    height: 1144

    property bool scan: false
    property var simpleBoxes: []
    property string hoveredBox: ""

    function listSimpleBoxes(scene) {
        var boxes = []
        for (var i = 0; i < scene.length; ++i) {
            var b = scene[i]
            if (b.k === 2)
                boxes.push({ "id": b.id, "x": b.x, "y": b.y, "width": b.w, "height": b.h })
        }
        simpleBoxes = boxes
    }

    function boxAt(boxes, point) {
        for (var i = 0; i < boxes.length; ++i) {
            var box = boxes[i];
            if (point.x >= box.x && point.x <= box.x + box.width && point.y >= box.y
                    && point.y <= box.y + box.height)
                return box;
        }
        return null;
    }

    function setHovered(boxId) {
        if (boxId === hoveredBox)
            return;
        if (hoveredBox !== "")
            updateBoxSimpleF(hoveredBox, { "isHover": false });
        if (boxId !== "")
            updateBoxSimpleF(boxId, { "isHover": true });
        hoveredBox = boxId;
        update();
    }

    MouseArea {
        anchors.fill: parent
        hoverEnabled: true
        onPositionChanged: function (mouse) {
            if (item.scan) {
                var box = item.boxAt(item.simpleBoxes, Qt.point(mouse.x, mouse.y));
                item.setHovered(box ? box.id : "");
            } else {
                var picked = BllPicking.boxAt(item, mouse.x, mouse.y);
                item.setHovered(picked && picked.family === "simple" ? picked.boxId : "");
            }
        }
    }
}
