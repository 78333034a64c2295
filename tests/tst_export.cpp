#include "bll_painted_item_saving.h"
#include "bll_shape_painted_item.h"
#include "test_item.h"

#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>
#include <QtTest/QtTest>
#ifdef BLL_WITH_SVG
#include <QtSvg/QSvgRenderer>
#endif

// Files saved through the C++ entry point, read back by other code than wrote them (Qt's image
// readers, poppler's tools, QSvgRenderer) and compared with the item as a screen shows it; and
// every refusal, which must leave no file behind.

Q_DECLARE_METATYPE(BllExportOptions)

namespace {

// Every box family with a label, bands, markers and outlines, and the derived item's shapes.
const QString scene = QStringLiteral(
        "setBoxStyle {brushColor:'lightgrey', pickBorderColor:'orange', textColor:'navy'};"
        "addBoxF Alpha 10 10 140 100 16; updateBoxF Alpha {topBorder:true, leftBorder:true};"
        "setBoxDVIStyle {brushColor:'seagreen'}; addBoxDVIF Beta 160 10 130 100 5;"
        "updateBoxDVIF Beta {topBorder:true, rightBorder:true};"
        "setBoxSimpleStyle {brushColor:'#fde68a', width:2}; addBoxSimpleF Gamma 10 120 130 70;"
        "setRectStyle {brushColor:'#9dc3e6', width:2, style:2}; addRectF 160 120 60 60;"
        "setEllipseStyle {brushColor:'#b5d99c'}; addEllipseF 230 120 60 60;"
        "setLineStyle {brushColor:'#60ff0000'}; addLineF 20 230 60 200; addLineF 60 200 100 230;"
        "setBoxDVIFillColor #f4f8fc");

// A derived item's own text, in points: a device of another resolution would size it otherwise.
class TitledItem : public BllShapePaintedItem
{
public:
    void paint(QPainter *painter) override
    {
        BllShapePaintedItem::paint(painter);
        painter->setFont(QFont("DejaVu Sans", 12));
        painter->drawText(QPointF(160, 228), "Delta");
    }
};

std::unique_ptr<BllShapePaintedItem> sceneItem(QSizeF size = QSizeF(300, 240))
{
    auto item = std::make_unique<TitledItem>();
    item->setSize(size);
    run(item.get(), scene);
    return item;
}

// The item as a screen of that device pixel ratio shows it: Qt Quick's painter node fills the
// texture with the background, then calls paint().
QImage onScreen(QQuickPaintedItem &item, qreal ratio, const QColor &background)
{
    QImage image((item.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(background);
    QPainter painter(&image);
    item.paint(&painter);
    image.setDevicePixelRatio(1);
    return image;
}

// Renderers place an edge within a pixel of each other and shade its pixels by rules of their
// own (antialiasing, stroke adjustment, glyph hinting). So two pictures agree where a pixel
// differs by at most 8 in every channel, or lies within a pixel of an edge in both.
int unlikePixels(const QImage &a, const QImage &b)
{
    const auto differ = [](QRgb p, QRgb q, int by) {
        return qAbs(qRed(p) - qRed(q)) > by || qAbs(qGreen(p) - qGreen(q)) > by
                || qAbs(qBlue(p) - qBlue(q)) > by || qAbs(qAlpha(p) - qAlpha(q)) > by;
    };
    const auto nearEdge = [&](const QImage &image, int x, int y) {
        for (int ny = qMax(y - 1, 0); ny <= qMin(y + 1, image.height() - 1); ++ny)
            for (int nx = qMax(x - 1, 0); nx <= qMin(x + 1, image.width() - 1); ++nx)
                if (differ(image.pixel(x, y), image.pixel(nx, ny), 24))
                    return true;
        return false;
    };
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int unlike = 0;
    for (int py = 0; py < x.height(); ++py)
        for (int px = 0; px < x.width(); ++px)
            unlike += differ(x.pixel(px, py), y.pixel(px, py), 8)
                    && !(nearEdge(x, px, py) && nearEdge(y, px, py));
    return x.size() == y.size() ? unlike : -1;
}

QString output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class tst_Export : public QObject
{
    Q_OBJECT

private slots:
    void savedAsShown_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<BllExportOptions>("options");
        const auto add = [](const char *name, const char *file, qreal scale, QColor background) {
            QTest::newRow(name) << file << BllExportOptions {scale, background, "Boxes & <labels>"};
        };
        add("png at scale 1, suffix in capitals", "a.PNG", 1, {});
        add("png at scale 2, half-transparent", "a.png", 2, QColor(0, 0, 128, 128));
        add("png over a background barely there", "a.png", 1, QColor(0, 0, 128, 1));
        add("pdf", "a.pdf", 1, {});
        add("pdf over blue", "a.pdf", 1, Qt::blue);
        add("svg", "a.svg", 1, {});
        add("svg, transparent", "a.svg", 1, Qt::transparent);
    }
    // Pictures pixel for pixel the item on a screen of that device pixel ratio, painted at
    // that size; PDF and SVG with every label as text, no picture inside, and drawn by another
    // renderer as the screen shows the item, within the edge rule of unlikePixels().
    void savedAsShown()
    {
        QFETCH(QString, fileName);
        QFETCH(BllExportOptions, options);
        if (fileName.endsWith(".svg") && !BllExport::supportedSuffixes().contains("svg"))
            QSKIP("built without Qt SVG");
        QTemporaryDir directory;
        const auto item = sceneItem();
        const QString file = directory.filePath(fileName);
        QCOMPARE(BllExport::save(item.get(), file, options), QString());
        const QImage expected =
                onScreen(*item, options.scale,
                         options.background.isValid() ? options.background : item->fillColor());
        QImage saved(expected.size(), QImage::Format_ARGB32_Premultiplied);
        QString labels;
        if (fileName.endsWith(".pdf")) {
            const QString info = output("pdfinfo", {file});
            QVERIFY2(info.contains(QRegularExpression("Title: +Boxes & <labels>\n(.*\n)*Page size: "
                                                      "+225 x 180 pts\n")),
                     qPrintable(info));
            QCOMPARE(output("pdfimages", {"-list", file}).count('\n'), 2); // the header only
            labels = output("pdftotext", {file, "-"});
            output("pdftoppm", {"-r", "96", "-png", "-singlefile", file, file});
            saved.load(file + ".png");
        } else if (fileName.endsWith(".svg")) {
            QFile svg(file);
            const QString xml = svg.open(QIODevice::ReadOnly) ? svg.readAll() : QString();
            QVERIFY(xml.contains("<title>Boxes &amp; &lt;labels&gt;</title>"));
            QVERIFY(!xml.contains(QRegularExpression("<desc>\\s*[^<\\s]"))); // no description
            QVERIFY(!xml.contains("<image"));
            for (auto text = QRegularExpression(">([^<]*)</text>").globalMatch(xml);
                 text.hasNext();)
                labels += text.next().captured(1) + '\n';
            saved.fill(Qt::transparent);
#ifdef BLL_WITH_SVG
            QSvgRenderer renderer(file);
            QCOMPARE(renderer.defaultSize(), expected.size());
            QPainter painter(&saved);
            renderer.render(&painter);
#endif
        } else {
            saved.load(file);
            QCOMPARE(saved.dotsPerMeterX(), qRound(96 * options.scale / 0.0254));
            QCOMPARE(saved.convertToFormat(QImage::Format_ARGB32_Premultiplied), expected);
            return;
        }
        for (const char *label : {"Alpha", "Beta", "Gamma", "Delta"})
            QVERIFY2(labels.contains(label), qPrintable(labels + " lacks " + label));
        QCOMPARE(unlikePixels(saved, expected), 0);
    }

    // The item keeps its last frame, and repaints only what changed on the raster image it
    // painted last (for the item's own class, whatever lies under the boxes): a picture at the
    // same place in memory must not be taken for that image.
    void savedAgainOverAnotherBackground()
    {
        QTemporaryDir directory;
        Bll_Painted_Item item;
        item.setSize(QSizeF(300, 240));
        run(&item, scene);
        QCOMPARE(BllExport::save(&item, directory.filePath("a.png")), QString());
        QCOMPARE(BllExport::save(&item, directory.filePath("b.png"), {1, Qt::red, {}}), QString());
        QCOMPARE(QImage(directory.filePath("b.png"))
                         .convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 onScreen(item, 1, Qt::red));
    }

    // The thinnest pictures there are.
    void onePixel_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("wide") << QSize(1, 240);
        QTest::newRow("tall") << QSize(300, 1);
    }
    void onePixel()
    {
        QFETCH(QSize, size);
        QTemporaryDir directory;
        const QString file = directory.filePath("a.png");
        QCOMPARE(BllExport::save(sceneItem(size).get(), file, {}), QString());
        QCOMPARE(QImage(file).size(), size);
    }

    void refusals_data()
    {
        QTest::addColumn<QSizeF>("itemSize"); // invalid: no item
        QTest::addColumn<QVariant>("file");
        QTest::addColumn<QVariantMap>("options");
        QTest::addColumn<QString>("message");
        // Options written as a script writes them (test_item.h's scriptValue()).
        const auto add = [](const char *name, QSizeF size, const QVariant &file,
                            const char *options, const char *message) {
            QTest::newRow(name) << size << file << scriptValue(options).toMap() << QString(message);
        };
        const QSizeF size(300, 240), wide(70000, 2); // libjpeg takes 65,500 pixels a side
        add("no item", {}, "a.png", "{}", "no item to save");
        add("no area", {0, 9}, "a.png", "{}",
            "an item of 0 x 9 cannot be saved: its width and height must be above 0 and at most "
            "16777215");
        add("unknown suffix", size, "a.bmp", "{}", "must end in .png, .jpg, .jpeg, .pdf");
        add("missing directory", size, "no/a.png", "{}", "/no\" does not exist");
        add("a directory in the way", size, "taken.png", "{}", "cannot write");
        add("fails writing, over a file", wide, "kept.jpg", "{}", "cannot write");
        add("a list as file", size, QVariantList {1}, "{}", "must be a path or a file: URL");
        add("a remote URL", size, QUrl("http://host/a.png"), "{}", "only local files");
        for (const char *scale :
             {"{scale:0}", "{scale:-1}", "{scale:nan}", "{scale:'2'}", "{scale:true}"})
            add(scale, size, "a.pdf", scale, "scale must be a positive number, not");
        add("scale past 2 GiB", size, "no/a.png", "{scale:100}", "30000 x 24000 pixels, beyond");
        add("scale below a pixel", size, "a.png", "{scale:0.001}", "0 x 0 pixels, beyond");
        // Into a missing directory, which is looked at after the size: nothing is allocated.
        add("2 GiB", {32768, 16384}, "no/a.png", "{}", "32768 x 16384 pixels, beyond");
        add("2 GiB less a row", {32768, 16383}, "no/a.png", "{}", "/no\" does not exist");
        add("wider than a page takes", {16777216, 1}, "no/a.pdf", "{}", "at most 16777215");
        add("as wide as a page takes", {16777215, 1}, "no/a.pdf", "{}", "/no\" does not exist");
        add("transparent jpeg", size, "a.jpg", "{background:'#10000000'}", "not opaque");
        add("transparent pdf", size, "a.pdf", "{background:transparent}", "not opaque");
        add("title not a string", size, "a.pdf", "{title:{a:1}}", "not QVariantMap");
        add("unknown option", size, "a.png", "{dpi:300}", "unknown option \"dpi\"");
        if (!BllExport::supportedSuffixes().contains("svg"))
            add("svg", size, "a.svg", "{}", "built without Qt SVG");
    }
    // Each answers its message through QML's save() (which checks its arguments and calls the
    // C++ one) and leaves the directory as it was, an existing file intact.
    void refusals()
    {
        QFETCH(QSizeF, itemSize);
        QFETCH(QVariant, file);
        QFETCH(QVariantMap, options);
        QFETCH(QString, message);
        QTemporaryDir directory;
        QVERIFY(QDir(directory.path()).mkdir("taken.png"));
        QFile kept(directory.filePath("kept.jpg"));
        QVERIFY(kept.open(QIODevice::WriteOnly) && kept.write("kept") == 4);
        kept.close();
        const auto item = sceneItem(itemSize);
        if (file.userType() == QMetaType::QString)
            file = directory.filePath(file.toString());
        const QString answer =
                BllExport().save(itemSize.isValid() ? item.get() : nullptr, file, options);
        QVERIFY2(answer.contains(message), qPrintable(answer));
        QCOMPARE(QDir(directory.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList({"kept.jpg", "taken.png"}));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("kept"));
    }
};

QTEST_MAIN(tst_Export)
#include "tst_export.moc"
