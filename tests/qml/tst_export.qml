import QtQuick 2.15
import QtTest 1.15
import Bll.PaintedItem 1.1

// BllExport as a QML application calls it: every format saved from a derived item and read back
// where Qt reads it (pictures and SVG by an Image), and whatever a script may pass by mistake
// answered with a message. Files go to the current directory, a scratch one.
Item {
    id: root
    width: 240
    height: 160

    BllShapePaintedItem {
        id: item
        width: 200
        height: 100
        Component.onCompleted: {
            setBoxStyle({ pickBorderColor: "orange", fillColor: "white" });
            addBoxF("Alpha", 10, 10, 120, 80, 12);
            updateBoxF("Alpha", { topBorder: true });
            addEllipseF(140, 20, 50, 50);
        }
    }
    Rectangle { id: notOurs }
    Image { id: image; cache: false }

    TestCase {
        name: "Export"
        when: windowShown

        function test_formats_data() {
            return [{ tag: "png at scale 2", file: "file:item.png", options: { scale: 2 }, width: 400 },
                    { tag: "jpeg, a path", file: "item.jpg", options: { background: "navy" }, width: 200 },
                    { tag: "pdf with a title", file: "file:item.pdf", options: { title: "Boxes" } },
                    { tag: "svg, transparent", file: "file:item.svg", width: 200,
                      options: { background: "transparent" } }];
        }
        function test_formats(row) {
            var answer = BllExport.save(item, row.file, row.options);
            if (row.tag.startsWith("svg") && BllExport.supportedSuffixes().indexOf("svg") < 0)
                skip("built without Qt SVG: " + answer);
            compare(answer, "");
            if (!row.width)
                return;
            image.source = "";
            image.source = row.file.replace(/^(file:)?/, "file:");
            compare(image.status, Image.Ready);
            compare(image.sourceSize.width, row.width);
        }

        function test_refusals_data() {
            return [["no item", null, "file:a.png", {}, "no item to save"],
                     ["not one of ours", notOurs, "a.png", {}, "QQuickRectangle is not a Bll_Painted_Item"],
                     ["a number as file", item, 42, {}, "must be a path or a file: URL, not 42"],
                     ["a remote URL", item, "http://host/a.png", {}, "only local files"],
                     ["NaN scale", item, "a.png", { scale: NaN }, "scale must be a positive number, not nan"],
                     ["scale as text", item, "a.png", { scale: "2" }, "not \"2\""],
                     ["unknown option", item, "a.png", { dpi: 300 }, "unknown option \"dpi\""],
                     ["not a colour", item, "a.png", { background: "nocolour" }, "background must be a colour"],
                     ["title as a list", item, "a.pdf", { title: [1] }, "title must be a string"],
                     ["missing directory", item, "file:none/a.png", {}, "does not exist"]]
                    .map(function (row) {
                        return { tag: row[0], item: row[1], file: row[2], options: row[3], message: row[4] };
                    });
        }
        function test_refusals(row) {
            var answer = BllExport.save(row.item, row.file, row.options);
            verify(answer.indexOf(row.message) >= 0, answer);
        }
    }
}
