import QtQuick 2.15
import QtTest 1.15
import Bll.PaintedItem 1.1

// BllExport as a QML application calls it: each format saved from a derived item into the
// current directory (a scratch one) and read back where Qt reads it, and what a script may pass
// by mistake answered with a message.
Item {
    width: 240
    height: 160

    BllShapePaintedItem {
        id: item
        width: 200
        height: 100
        Component.onCompleted: {
            addBoxF("Alpha", 10, 10, 120, 80, 12);
            addEllipseF(140, 20, 50, 50);
        }
    }
    Rectangle { id: notOurs }
    Image { id: image; cache: false }

    TestCase {
        name: "Export"
        when: windowShown

        function test_formats_data() {
            return [{ tag: "png at scale 2", file: "file:a.png", options: { scale: 2 }, width: 400 },
                    { tag: "jpeg from a path", file: "a.jpg", options: { background: "navy" }, width: 200 },
                    { tag: "pdf with a title", file: "file:a.pdf", options: { title: "Boxes" } },
                    { tag: "svg", file: "file:a.svg", options: { background: "transparent" }, width: 200 }];
        }
        function test_formats(row) {
            var answer = BllExport.save(item, row.file, row.options);
            if (row.tag === "svg" && BllExport.supportedSuffixes().indexOf("svg") < 0)
                skip(answer);
            compare(answer, "");
            if (row.width) {
                image.source = row.file.replace(/^(file:)?/, "file:");
                compare(image.sourceSize.width, row.width);
            }
        }

        function test_refusals_data() {
            return [{ tag: "null", item: null, file: "a.png", message: "no item to save" },
                    { tag: "not one of ours", item: notOurs, file: "a.png", message: "QQuickRectangle is not" },
                    { tag: "NaN scale", item: item, file: "a.png", options: { scale: NaN }, message: "not nan" },
                    { tag: "a number as file", item: item, file: 42, message: "file: URL, not 42" }];
        }
        function test_refusals(row) {
            var answer = BllExport.save(row.item, row.file, row.options || {});
            verify(answer.indexOf(row.message) >= 0, answer);
        }
    }
}
