import QtQuick 2.15
import QtQuick.Layouts 1.15

// A titled frame around one painted item of at least 484x200: the item is the content, the
// family's controls go below it and anything extra (a legend) beside the title.
Rectangle {
    id: panel

    property string title
    default property alias content: canvas.data
    property alias controls: controlRow.data
    property alias header: headerRow.data

    color: "#ffffff"
    radius: 6
    border.color: "#c5ccd6"
    clip: true

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 8
        spacing: 6

        RowLayout {
            Layout.fillWidth: true
            spacing: 10

            Text {
                text: panel.title
                color: "#1d2733"
                font.pixelSize: 15
                font.bold: true
            }
            RowLayout {
                id: headerRow
                Layout.fillWidth: true
                spacing: 8
            }
        }
        Item {
            id: area
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true

            // The records sit at fixed coordinates; a smaller window shrinks them to fit.
            Item {
                id: canvas
                width: Math.max(484, area.width)
                height: Math.max(200, area.height)
                transformOrigin: Item.TopLeft
                scale: Math.min(1, area.width / width, area.height / height)
            }
        }
        RowLayout {
            id: controlRow
            Layout.fillWidth: true
            spacing: 6
        }
    }
}
