import QtQuick 2.15
import Bll 1.0
import "theme.js" as Theme

// The item itself, fed from QML with one add call per box.
BllPaintedItem {
    width: 1920
    height: 1080

    function sides(bits, value) {
        var map = {}
        if (bits & 1) map.topBorder = value
        if (bits & 2) map.bottomBorder = value
        if (bits & 4) map.leftBorder = value
        if (bits & 8) map.rightBorder = value
        return map
    }

    function build(scene) {
        setBoxStyle(Theme.boxStyle)
        setBoxDVIStyle(Theme.dviStyle)
        setBoxSimpleStyle(Theme.simpleStyle)
        for (var i = 0; i < scene.length; ++i) {
            var b = scene[i]
            if (b.k === 0) {
                addBoxF(b.id, b.x, b.y, b.w, b.h, b.b)
                if (b.param)
                    updateBoxF(b.id, sides(b.param, true))
            } else if (b.k === 1) {
                addBoxDVIF(b.id, b.x, b.y, b.w, b.h, b.b)
                var switches = sides(b.markers, true)
                if (!b.text)
                    switches.showText = false
                if (b.markers || !b.text)
                    updateBoxDVIF(b.id, switches)
            } else {
                addBoxSimpleF(b.id, b.x, b.y, b.w, b.h)
                if (b.hover || b.sel)
                    updateBoxSimpleF(b.id, { "isHover": b.hover, "isSelected": b.sel })
            }
        }
        updateBoxParamF({ "currentParam": 2 })
        for (i = 0; i < scene.length; ++i) {
            b = scene[i]
            if (b.k === 0 && (b.picked | b.param))
                updateBoxF(b.id, { "topBorder": !!(b.picked & 1), "bottomBorder": !!(b.picked & 2),
                                   "leftBorder": !!(b.picked & 4), "rightBorder": !!(b.picked & 8) })
        }
        update()
    }
    // A style set again repaints every box: the item keeps its last frame and would
    // otherwise repaint nothing on a bare update().
    function invalidate() {
        setBoxSimpleStyle(Theme.simpleStyle)
        update()
    }
    function hover(box, on) {
        updateBoxSimpleF(box.id, { "isHover": on })
        update()
    }
    function pick(box, on) {
        updateBoxF(box.id, { "leftBorder": on })
        update()
    }
    function add(i) {
        addBoxSimpleF("added" + i, 37 * i % 1800, 23 * i % 1000, 90, 40)
        update()
    }
}
