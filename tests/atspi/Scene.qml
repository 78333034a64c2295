import QtQuick 2.15
import QtQuick.Window 2.15
import Bll.PaintedItem 1.2

// What the screen reader test reads: one box of each family and a few more simple boxes,
// a navigator with the keyboard focus, and on stderr what the scene added and where picking
// finds boxes, for the test to compare with what it reads.
Window {
    id: window
    property int extraSimpleBoxes: 3
    width: 640
    height: 480
    visible: true
    title: "boxes scene"

    BllPaintedItem {
        id: boxes
        x: 20
        y: 30
        width: 600
        height: 420
        Accessible.name: "boxes"

        BllBoxNavigator {
            id: navigator
            anchors.fill: parent
            target: boxes
            focus: true
            // An action on a box, or Space on the current one: a simple box's selection
            // toggles, and the box becomes current; "bulk" selects every simple box at once.
            onActivated: function (box) {
                if (box.boxId === "bulk")
                    BllBoxes.setAllSimpleStates(boxes, { isSelected: true })
                else if (box.family === "simple")
                    BllBoxes.setSimpleStates(boxes, box.boxId, {
                        isSelected: !BllBoxes.box(boxes, "simple", box.boxId).isSelected
                    })
                currentBox = box
            }
        }
    }

    Component.onCompleted: {
        boxes.addBoxF("p1", 10, 10, 100, 60, 8)
        boxes.updateBoxF("p1", { topBorder: true, leftBorder: true })
        boxes.addBoxDVIF("d1", 150, 10, 100, 60, 4)
        boxes.updateBoxDVIF("d1", { bottomBorder: true, showText: false })
        boxes.addBoxSimpleF("s1", 10, 150, 80, 40)
        boxes.updateBoxSimpleF("s1", { isSelected: true })
        boxes.addBoxSimpleF("s2", 60, 170, 80, 40)
        boxes.addBoxSimpleF("bulk", 300, 150, 40, 40)
        for (let i = 0; i < extraSimpleBoxes; ++i)
            boxes.addBoxSimpleF("x" + i, 400 + i % 190, 300 + Math.floor(i / 190) % 100, 2, 2)
        boxes.update()
        BllAccessibility.setBoxNames(boxes, "dvi", { d1: "Door one" })

        const added = []
        for (const family of ["parameter", "dvi", "simple"])
            for (const id of BllBoxes.ids(boxes, family).slice(0, 8))
                added.push(BllBoxes.box(boxes, family, id))
        const picked = []
        for (let x = 0; x < 360; x += 7)
            for (let y = 0; y < 230; y += 9)
                picked.push([x, y, BllPicking.boxAt(boxes, x, y)])
        console.log("SCENE " + JSON.stringify({ boxCount: BllBoxes.count(boxes, "simple") + 2,
                                               added: added, picked: picked }))
        requestActivate()
    }
}
