.pragma library
// The reference scene's look, shared by the item and the peers.

var boxStyle = { "style": 1, "width": 1, "color": "#30343c", "textColor": "#1a1a1a",
                 "fillColor": "#ffffff", "brushColor": "#dde6ee", "pickBorderColor": "#f0b000",
                 "paramBorderColor": "#4a90d9", "pickParamBorderColor": "#d0402a" }
var dviStyle = { "style": 1, "width": 1, "color": "#102040", "brushColor": "#2a8040" }
var simpleStyle = { "style": 1, "width": 1, "color": "#505560", "textColor": "#000000",
                    "fillColor": "#ffffff", "brushColor": "#f4f4f4", "isHoverColor": "#ffe08a",
                    "isSelectedColor": "#8ac6ff" }

// Sides as bits: top 1, bottom 2, left 4, right 8.
function bandColor(picked, withParam) {
    if (picked)
        return withParam ? boxStyle.pickParamBorderColor : boxStyle.pickBorderColor
    return withParam ? boxStyle.paramBorderColor : boxStyle.brushColor
}

function simpleColor(box) {
    return box.sel ? simpleStyle.isSelectedColor
                   : box.hover ? simpleStyle.isHoverColor : simpleStyle.brushColor
}

function pixelSize(box) {
    return Math.floor(Math.min(box.w, box.h) / 5 + 1)
}

function labelled(box) {
    var threshold = box.k === 1 ? 5 : 10
    return box.w > threshold && box.h > threshold && (box.k !== 1 || box.text)
}

// The band polygons of a parameter box, top, bottom, left, right.
function bands(b) {
    var x = b.x, y = b.y, w = b.w, h = b.h, t = b.b
    return [[x, y, x + w, y, x + w - t, y + t, x + t, y + t],
            [x + t, y + h - t, x + w - t, y + h - t, x + w, y + h, x, y + h],
            [x, y, x + t, y + t, x + t, y + h - t, x, y + h],
            [x + w - t, y + t, x + w, y, x + w, y + h, x + w - t, y + h - t]]
}

// The marker triangles of a DVI box, two per side that is on.
function markers(b) {
    var x = b.x, y = b.y, t = b.b, xr = b.x + b.w, yb = b.y + b.h, result = []
    if (b.markers & 1)
        result.push([x + 4 * t, y + 3 * t, x + 5 * t, y + t, x + 6 * t, y + 3 * t],
                    [xr - 4 * t, y + 3 * t, xr - 5 * t, y + t, xr - 6 * t, y + 3 * t])
    if (b.markers & 2)
        result.push([x + 4 * t, yb - 3 * t, x + 5 * t, yb - t, x + 6 * t, yb - 3 * t],
                    [xr - 4 * t, yb - 3 * t, xr - 5 * t, yb - t, xr - 6 * t, yb - 3 * t])
    if (b.markers & 4)
        result.push([x + 3 * t, y + 4 * t, x + t, y + 5 * t, x + 3 * t, y + 6 * t],
                    [x + 3 * t, yb - 4 * t, x + t, yb - 5 * t, x + 3 * t, yb - 6 * t])
    if (b.markers & 8)
        result.push([xr - 3 * t, y + 4 * t, xr - t, y + 5 * t, xr - 3 * t, y + 6 * t],
                    [xr - 3 * t, yb - 4 * t, xr - t, yb - 5 * t, xr - 3 * t, yb - 6 * t])
    return result
}
