import QtQuick 2.15
import QtQuick.Window 2.15
import Minimal 1.0

// One box of each family; the mouse over the simple box hovers it. An item paints only what
// it was given, and only when told: every change ends with update().
Window {
    width: 520
    height: 200
    visible: true
    title: "Bll_Painted_Item: minimal"

    Row {
        x: 10
        y: 10
        spacing: 10

        // A parameter box whose top side is picked and carries the parameter 3.
        BllPaintedItem {
            width: 160
            height: 180
            Component.onCompleted: {
                setBoxStyle({ brushColor: "lightgrey", pickBorderColor: "orange",
                              paramBorderColor: "steelblue", pickParamBorderColor: "firebrick",
                              fillColor: "white" })  // fills the whole item
                addBoxF("P1", 10, 10, 140, 160, 20)  // id, x, y, width, height, band width
                updateBoxF("P1", { topBorder: true })
                updateBoxParamF({ currentParam: 3 })
                update()
            }
        }

        // A DVI box: its label, and markers inside its top and left sides (no outline).
        BllPaintedItem {
            width: 160
            height: 180
            Component.onCompleted: {
                setBoxDVIStyle({ color: "#3b4a5a", brushColor: "seagreen" })
                setBoxDVIFillColor("white")          // fills the whole item
                addBoxDVIF("D1", 10, 10, 140, 160, 5) // the last number sizes the markers
                updateBoxDVIF("D1", { topBorder: true, leftBorder: true })
                update()
            }
        }

        // A simple box, filled in the hover colour while the mouse is over it.
        BllPaintedItem {
            id: simple
            width: 160
            height: 180
            Component.onCompleted: {
                setBoxSimpleStyle({ brushColor: "white", isHoverColor: "#fde68a",
                                    isSelectedColor: "#60a5fa", textColor: "black" })
                addBoxSimpleF("S1", 10, 10, 140, 160)
                update()
            }

            MouseArea {
                x: 10
                y: 10
                width: 140
                height: 160
                hoverEnabled: true
                onContainsMouseChanged: {
                    simple.updateBoxSimpleF("S1", { isHover: containsMouse })
                    simple.update()
                }
            }
        }
    }
}
