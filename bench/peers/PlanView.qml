import QtQuick 2.15
import Bll 1.2

// The plan of bll_bench_view (simple boxes on cells of 40 x 30) in a BllViewItem, fed from QML;
// its frames at scale 1 on the plan's middle, panned, zoomed, and with the whole plan fitted.
BllViewItem {
    id: plan

    width: 1920
    height: 1080
    property bool odd: false

    function build(count) {
        var columns = Math.ceil(Math.sqrt(count * 0.75));
        for (var i = 0; i < count; ++i)
            addBoxSimpleF("b" + i, (i % columns) * 40 + 2, Math.floor(i / columns) * 30 + 2, 36, 26);
        var bounds = sceneBounds;
        setView(1, bounds.x + bounds.width / 2 - width / 2, bounds.y + bounds.height / 2 - height / 2);
    }
    function invalidate() {
        odd = !odd;
        setBoxSimpleStyle({ "width": odd ? 2 : 1 });
        update();
    }
    function pan() {
        odd = !odd;
        panBy(odd ? 8 : -8, 0);
    }
    function zoom() {
        odd = !odd;
        zoomAt(width / 2, height / 2, odd ? 1.25 : 0.8);
    }
    function fit() {
        fitToScene();
    }
}
