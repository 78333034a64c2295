import QtQuick 2.15
import "theme.js" as Theme

// A Context2D canvas that paints the boxes from JavaScript on every frame.
Canvas {
    id: canvas
    width: 1920
    height: 1080
    property var boxes: []

    function build(scene) { boxes = scene; requestPaint() }
    function invalidate() { requestPaint() }
    function hover(box, on) { box.hover = on; requestPaint() }

    function polygon(ctx, p) {
        ctx.beginPath()
        ctx.moveTo(p[0], p[1])
        for (var i = 2; i < p.length; i += 2)
            ctx.lineTo(p[i], p[i + 1])
        ctx.closePath()
        ctx.fill()
        ctx.stroke()
    }
    function label(ctx, b, color) {
        ctx.font = Theme.pixelSize(b) + "px Verdana, sans-serif"
        ctx.fillStyle = color
        ctx.fillText(b.id, b.x + b.w / 2, b.y + b.h / 2)
    }

    onPaint: {
        var ctx = getContext("2d")
        ctx.clearRect(0, 0, width, height)
        ctx.textAlign = "center"
        ctx.textBaseline = "middle"
        ctx.lineWidth = 1
        var i, j, b, shapes
        for (i = 0; i < boxes.length; ++i) {
            b = boxes[i]
            if (b.k !== 0 || !(b.w > 1 && b.h > 1))
                continue
            if (Theme.labelled(b))
                label(ctx, b, Theme.boxStyle.textColor)
            ctx.strokeStyle = Theme.boxStyle.color
            shapes = Theme.bands(b)
            for (j = 0; j < 4; ++j) {
                ctx.fillStyle = Theme.bandColor(b.picked & (1 << j), b.param & (1 << j))
                polygon(ctx, shapes[j])
            }
        }
        for (i = 0; i < boxes.length; ++i) {
            b = boxes[i]
            if (b.k !== 1 || !(b.w > 1 && b.h > 1))
                continue
            if (Theme.labelled(b))
                label(ctx, b, Theme.dviStyle.color)
            ctx.strokeStyle = Theme.dviStyle.brushColor
            ctx.fillStyle = Theme.dviStyle.brushColor
            shapes = Theme.markers(b)
            for (j = 0; j < shapes.length; ++j)
                polygon(ctx, shapes[j])
        }
        for (i = 0; i < boxes.length; ++i) {
            b = boxes[i]
            if (b.k !== 2 || !(b.w > 1 && b.h > 1))
                continue
            ctx.fillStyle = Theme.simpleColor(b)
            ctx.strokeStyle = Theme.simpleStyle.color
            ctx.fillRect(Math.floor(b.x), Math.floor(b.y), Math.floor(b.w), Math.floor(b.h))
            ctx.strokeRect(Math.floor(b.x), Math.floor(b.y), Math.floor(b.w), Math.floor(b.h))
            if (Theme.labelled(b))
                label(ctx, b, Theme.simpleStyle.textColor)
        }
    }
}
