import QtQuick 2.15
import "theme.js" as Theme

// One delegate per box, made of Rectangles and a Text. Bands and markers are
// rectangles here: a Rectangle cannot be a trapezoid or a triangle.
Item {
    width: 1920
    height: 1080

    function build(scene) { boxes.model = scene }
    // Moving the whole scene by a pixel makes every node of it paint again.
    function invalidate() { x = 1 - x }
    function hover(box, on) { boxes.itemAt(box.index).hovered = on }

    Repeater {
        id: boxes
        delegate: Item {
            property bool hovered: modelData.hover
            readonly property var box: modelData
            x: box.x
            y: box.y
            width: box.w
            height: box.h
            z: box.k // parameter boxes below DVI boxes below simple boxes
            visible: box.w > 1 && box.h > 1

            Rectangle {
                visible: box.k === 2
                anchors.fill: parent
                color: box.sel ? Theme.simpleStyle.isSelectedColor
                               : hovered ? Theme.simpleStyle.isHoverColor : Theme.simpleStyle.brushColor
                border.color: Theme.simpleStyle.color
            }
            Repeater {
                model: box.k === 0 ? 4 : 0
                Rectangle {
                    readonly property real t: box.b
                    x: index === 3 ? box.w - t : 0
                    y: index === 1 ? box.h - t : 0
                    width: index < 2 ? box.w : t
                    height: index < 2 ? t : box.h
                    color: Theme.bandColor(box.picked & (1 << index), box.param & (1 << index))
                    border.color: Theme.boxStyle.color
                }
            }
            Repeater {
                model: box.k === 1 ? Theme.markers(box) : []
                Rectangle {
                    x: Math.min(modelData[0], modelData[2], modelData[4]) - box.x
                    y: Math.min(modelData[1], modelData[3], modelData[5]) - box.y
                    width: 2 * box.b
                    height: 2 * box.b
                    color: Theme.dviStyle.brushColor
                }
            }
            Text {
                anchors.fill: parent
                visible: Theme.labelled(box)
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                text: box.id
                font.family: "Verdana"
                font.pixelSize: Theme.pixelSize(box)
                color: box.k === 0 ? Theme.boxStyle.textColor
                                   : box.k === 1 ? Theme.dviStyle.color : Theme.simpleStyle.textColor
            }
        }
    }
}
