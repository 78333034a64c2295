import QtQuick 2.15
import QtQuick.Shapes 1.15
import "theme.js" as Theme

// One Shape with a ShapePath per kind of band (one per fill colour), and a Text per label.
Item {
    id: root
    width: 1920
    height: 1080
    property var boxes: []

    function svg(polygons) {
        var parts = []
        for (var i = 0; i < polygons.length; ++i) {
            var p = polygons[i]
            parts.push("M" + p[0] + " " + p[1])
            for (var j = 2; j < p.length; j += 2)
                parts.push("L" + p[j] + " " + p[j + 1])
            parts.push("Z")
        }
        return parts.join(" ")
    }
    function rect(b) {
        var x = Math.floor(b.x), y = Math.floor(b.y), w = Math.floor(b.w), h = Math.floor(b.h)
        return [x, y, x + w, y, x + w, y + h, x, y + h]
    }

    function build(scene) {
        boxes = scene
        var bandPolygons = [[], [], [], []] // fill, pick, param, pick-param
        var markerPolygons = []
        var labelled = []
        for (var i = 0; i < scene.length; ++i) {
            var b = scene[i]
            if (!(b.w > 1 && b.h > 1))
                continue
            if (b.k === 0) {
                var shapes = Theme.bands(b)
                for (var j = 0; j < 4; ++j) {
                    var picked = (b.picked >> j) & 1, withParam = (b.param >> j) & 1
                    bandPolygons[picked ? (withParam ? 3 : 1) : (withParam ? 2 : 0)].push(shapes[j])
                }
            } else if (b.k === 1) {
                markerPolygons = markerPolygons.concat(Theme.markers(b))
            }
            if (Theme.labelled(b))
                labelled.push(b)
        }
        fillBands.path = svg(bandPolygons[0])
        pickBands.path = svg(bandPolygons[1])
        paramBands.path = svg(bandPolygons[2])
        pickParamBands.path = svg(bandPolygons[3])
        dviMarkers.path = svg(markerPolygons)
        simpleBoxes()
        labels.model = labelled
    }
    // Hover and selection move a box from one path to another: the three paths are rebuilt.
    function simpleBoxes() {
        var groups = [[], [], []] // plain, hovered, selected
        for (var i = 0; i < boxes.length; ++i) {
            var b = boxes[i]
            if (b.k === 2 && b.w > 1 && b.h > 1)
                groups[b.sel ? 2 : b.hover ? 1 : 0].push(rect(b))
        }
        simplePlain.path = svg(groups[0])
        simpleHovered.path = svg(groups[1])
        simpleSelected.path = svg(groups[2])
    }
    // Moving the whole scene by a pixel makes every node of it paint again.
    function invalidate() { x = 1 - x }
    function hover(box, on) { box.hover = on; simpleBoxes() }

    Shape {
        anchors.fill: parent
        ShapePath { fillRule: ShapePath.WindingFill; fillColor: Theme.boxStyle.brushColor; strokeColor: Theme.boxStyle.color; PathSvg { id: fillBands } }
        ShapePath { fillRule: ShapePath.WindingFill; fillColor: Theme.boxStyle.pickBorderColor; strokeColor: Theme.boxStyle.color; PathSvg { id: pickBands } }
        ShapePath { fillRule: ShapePath.WindingFill; fillColor: Theme.boxStyle.paramBorderColor; strokeColor: Theme.boxStyle.color; PathSvg { id: paramBands } }
        ShapePath { fillRule: ShapePath.WindingFill; fillColor: Theme.boxStyle.pickParamBorderColor; strokeColor: Theme.boxStyle.color; PathSvg { id: pickParamBands } }
        ShapePath { fillRule: ShapePath.WindingFill; fillColor: Theme.dviStyle.brushColor; strokeColor: Theme.dviStyle.brushColor; PathSvg { id: dviMarkers } }
        ShapePath { fillRule: ShapePath.WindingFill; fillColor: Theme.simpleStyle.brushColor; strokeColor: Theme.simpleStyle.color; PathSvg { id: simplePlain } }
        ShapePath { fillRule: ShapePath.WindingFill; fillColor: Theme.simpleStyle.isHoverColor; strokeColor: Theme.simpleStyle.color; PathSvg { id: simpleHovered } }
        ShapePath { fillRule: ShapePath.WindingFill; fillColor: Theme.simpleStyle.isSelectedColor; strokeColor: Theme.simpleStyle.color; PathSvg { id: simpleSelected } }
    }
    Repeater {
        id: labels
        Text {
            x: modelData.x
            y: modelData.y
            width: modelData.w
            height: modelData.h
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            text: modelData.id
            font.family: "Verdana"
            font.pixelSize: Theme.pixelSize(modelData)
            color: modelData.k === 0 ? Theme.boxStyle.textColor
                                     : modelData.k === 1 ? Theme.dviStyle.color : Theme.simpleStyle.textColor
        }
    }
}
