#include "bll_painted_item_saving.h"
#include "bll_shape_painted_item.h"
#include "test_item.h"

#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>
#include <QtCore/QXmlStreamReader>
#include <QtTest/QtTest>
#ifdef BLL_WITH_SVG
#include <QtSvg/QSvgRenderer>
#endif

// Files saved through the C++ entry point, read back with other tools than the ones that wrote
// them (QImageReader, poppler's pdftoppm, pdftotext and pdfimages, QSvgRenderer) and compared
// with the item painted as on a screen; and every refusal, which must leave no file behind.

Q_DECLARE_METATYPE(BllExportOptions)

namespace {

// Labels of every box family, bands, markers and outlines, and shapes from the derived item.
const QStringList labels {"Alpha", "Beta", "Gamma"};
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

std::unique_ptr<BllShapePaintedItem> sceneItem(QSizeF size = QSizeF(300, 240))
{
    auto item = std::make_unique<BllShapePaintedItem>();
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
    return image;
}

// Renderers place an edge within a pixel of each other and shade its pixels by their own
// rules (antialiasing, stroke adjustment, glyph hinting). So two pictures agree where a pixel
// differs by at most `slack` in every channel, or lies within a pixel of an edge in both.
int unlikePixels(const QImage &a, const QImage &b, int slack)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const auto channelsDiffer = [](QRgb p, QRgb q, int by) {
        return qAbs(qRed(p) - qRed(q)) > by || qAbs(qGreen(p) - qGreen(q)) > by
                || qAbs(qBlue(p) - qBlue(q)) > by || qAbs(qAlpha(p) - qAlpha(q)) > by;
    };
    const auto nearEdge = [&](const QImage &image, int px, int py) {
        for (int ny = qMax(py - 1, 0); ny <= qMin(py + 1, image.height() - 1); ++ny)
            for (int nx = qMax(px - 1, 0); nx <= qMin(px + 1, image.width() - 1); ++nx)
                if (channelsDiffer(image.pixel(px, py), image.pixel(nx, ny), 24))
                    return true;
        return false;
    };
    if (x.size() != y.size())
        return x.width() * x.height();
    int unlike = 0;
    for (int py = 0; py < x.height(); ++py)
        for (int px = 0; px < x.width(); ++px)
            unlike += channelsDiffer(x.pixel(px, py), y.pixel(px, py), slack)
                    && (slack == 0 || !nearEdge(x, px, py) || !nearEdge(y, px, py));
    return unlike;
}

QString output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("%1 failed: %2").arg(program, process.errorString());
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class tst_Export : public QObject
{
    Q_OBJECT

private slots:
    void picturesAreThePaintedItem_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<BllExportOptions>("options");
        QTest::addColumn<QColor>("background"); // what the item is painted over on screen
        const QColor fill("#f4f8fc");
        QTest::newRow("png at scale 1") << "item.png" << BllExportOptions() << fill;
        QTest::newRow("png at scale 2") << "item.PNG" << BllExportOptions {2, {}, {}} << fill;
        QTest::newRow("png at scale 2, transparent")
                << "item.png" << BllExportOptions {2, Qt::transparent, {}}
                << QColor(Qt::transparent);
        QTest::newRow("png at scale 1, half-transparent background")
                << "item.png" << BllExportOptions {1, QColor(0, 0, 128, 128), {}}
                << QColor(0, 0, 128, 128);
        QTest::newRow("jpeg at scale 2, within its loss")
                << "item.jpeg" << BllExportOptions {2, {}, {}} << fill;
    }
    // Pixel for pixel the item on a screen of device pixel ratio `scale`, painted there
    // and not enlarged; JPEG within its loss.
    void picturesAreThePaintedItem()
    {
        QFETCH(QString, fileName);
        QFETCH(BllExportOptions, options);
        QFETCH(QColor, background);
        QTemporaryDir directory;
        const auto item = sceneItem();
        const QString file = directory.filePath(fileName);
        QCOMPARE(BllExport::save(item.get(), file, options), QString());
        const QImage saved(file);
        QImage expected = onScreen(*item, options.scale, background);
        expected.setDevicePixelRatio(1);
        QCOMPARE(saved.size(), QSize(300, 240) * options.scale);
        QCOMPARE(saved.dotsPerMeterX(), qRound(96 * options.scale / 0.0254));
        if (fileName.endsWith(".jpeg")) {
            qint64 error = 0;
            for (int y = 0; y < saved.height(); ++y)
                for (int x = 0; x < saved.width(); ++x)
                    error += qAbs(qGray(saved.pixel(x, y)) - qGray(expected.pixel(x, y)));
            QVERIFY2(error < 3 * saved.width() * saved.height(),
                     qPrintable(QString::number(error)));
        } else {
            QCOMPARE(saved.convertToFormat(QImage::Format_ARGB32_Premultiplied), expected);
        }
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

    void vectorsAreThePaintedItem_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QColor>("background");
        QTest::newRow("pdf") << "item.pdf" << QColor();
        QTest::newRow("pdf over blue") << "item.pdf" << QColor(Qt::blue);
        if (BllExport::supportedSuffixes().contains("svg")) {
            QTest::newRow("svg") << "item.svg" << QColor();
            QTest::newRow("svg, transparent") << "item.svg" << QColor(Qt::transparent);
        }
    }
    // Labels are text, everything else paths (no pictures inside), and another renderer draws
    // the same as the item on a screen, within the edge rule of unlikePixels().
    void vectorsAreThePaintedItem()
    {
        QFETCH(QString, fileName);
        QFETCH(QColor, background);
        QTemporaryDir directory;
        const auto item = sceneItem();
        const QString file = directory.filePath(fileName);
        QCOMPARE(BllExport::save(item.get(), file, {1, background, "Boxes & <labels>"}), QString());
        const QImage expected =
                onScreen(*item, 1, background.isValid() ? background : item->fillColor());
        QImage rendered;
        QString text;
        if (fileName.endsWith(".pdf")) {
            text = output("pdftotext", {file, "-"});
            QCOMPARE(output("pdfimages", {"-list", file}).count('\n'), 2); // the header only
            const QString info = output("pdfinfo", {file});
            QVERIFY2(info.contains(QRegularExpression("Title: +Boxes & <labels>\n"))
                             && info.contains(QRegularExpression("Page size: +225 x 180 pts\n")),
                     qPrintable(info));
            output("pdftoppm", {"-r", "96", "-png", "-singlefile", file, file});
            rendered.load(file + ".png");
        } else {
#ifdef BLL_WITH_SVG
            QFile svg(file);
            QVERIFY(svg.open(QIODevice::ReadOnly));
            for (QXmlStreamReader xml(&svg); !xml.atEnd();) {
                if (xml.readNext() == QXmlStreamReader::StartElement) {
                    QVERIFY(xml.name() != QLatin1String("image"));
                    if (xml.name() == QLatin1String("title"))
                        QCOMPARE(xml.readElementText(), QString("Boxes & <labels>"));
                    else if (xml.name() == QLatin1String("text"))
                        text += xml.readElementText() + '\n';
                }
            }
            rendered = QImage(expected.size(), QImage::Format_ARGB32_Premultiplied);
            rendered.fill(Qt::transparent);
            QPainter painter(&rendered);
            QSvgRenderer(file).render(&painter);
#endif
        }
        for (const QString &label : labels)
            QVERIFY2(text.contains(label), qPrintable(label + " is not in the text: " + text));
        QCOMPARE(unlikePixels(rendered, expected, 8), 0);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<BllExportOptions>("options");
        QTest::addColumn<QSizeF>("itemSize"); // empty: no item
        QTest::addColumn<QString>("message");
        const QSizeF size(300, 240);
        const BllExportOptions plain;
        const QString notScale = "scale must be a positive number, not %1";
        const QString huge = "beyond what a QImage holds";
        QTest::newRow("no item") << "a.png" << plain << QSizeF() << "no item to save";
        QTest::newRow("item without area")
                << "a.png" << plain << QSizeF(0, 10) << "an item of 0 x 10 cannot be saved";
        QTest::newRow("no file name") << "" << plain << size << "no file name given";
        QTest::newRow("unknown suffix")
                << "a.bmp" << plain << size << "must end in .png, .jpg, .jpeg, .pdf";
        QTest::newRow("no suffix") << "a" << plain << size << "must end in .png";
        QTest::newRow("missing directory")
                << "none/a.png" << plain << size << "/none\" does not exist";
        QTest::newRow("a directory in the way") << "taken.png" << plain << size << "cannot write";
        for (const qreal scale : {0.0, -1.0, qQNaN(), qInf()})
            QTest::addRow("scale %g", scale)
                    << "a.png" << BllExportOptions {scale, {}, {}} << size << notScale.arg(scale);
        QTest::newRow("scale past 2 GiB")
                << "a.png" << BllExportOptions {100, {}, {}} << size << huge;
        QTest::newRow("scale below a pixel")
                << "a.jpg" << BllExportOptions {1e-3, {}, {}} << size << huge;
        QTest::newRow("transparent jpeg")
                << "a.jpg" << BllExportOptions {1, Qt::transparent, {}} << size << "not opaque";
        QTest::newRow("half-transparent pdf")
                << "a.pdf" << BllExportOptions {1, QColor(0, 0, 0, 128), {}} << size
                << "not opaque";
        // libjpeg takes at most 65,500 pixels a side: the failure comes while writing.
        QTest::newRow("jpeg too wide, over a file")
                << "kept.jpg" << plain << QSizeF(70000, 2) << "cannot write";
        if (!BllExport::supportedSuffixes().contains("svg"))
            QTest::newRow("svg without Qt SVG")
                    << "a.svg" << plain << size << "built without Qt SVG";
    }
    // Each answers its message and leaves the directory as it was.
    void refusals()
    {
        QFETCH(QString, fileName);
        QFETCH(BllExportOptions, options);
        QFETCH(QSizeF, itemSize);
        QFETCH(QString, message);
        QTemporaryDir directory;
        QVERIFY(QDir(directory.path()).mkdir("taken.png"));
        QFile kept(directory.filePath("kept.jpg"));
        QVERIFY(kept.open(QIODevice::WriteOnly) && kept.write("kept") == 4);
        kept.close();
        const auto item = sceneItem(itemSize);
        const QString answer = BllExport::save(
                itemSize.isValid() ? item.get() : nullptr,
                fileName.isEmpty() ? fileName : directory.filePath(fileName), options);
        QVERIFY2(answer.contains(message), qPrintable(answer));
        QCOMPARE(QDir(directory.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList({"kept.jpg", "taken.png"}));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("kept"));
    }

    // Whatever a script computed reaches QML's save(): an answer, never a crash (the sanitizer
    // build runs this too). No such value names a file; as an option, some are fine.
    void anythingFromQml()
    {
        QTemporaryDir directory;
        const auto item = sceneItem();
        QObject notAnItem;
        const BllExport exporter;
        QCOMPARE(exporter.save(&notAnItem, directory.filePath("a.png")),
                 QString("QObject is not a Bll_Painted_Item: only those can be saved"));
        const QVariantList values {QVariant(),
                                   qQNaN(),
                                   -qInf(),
                                   1e300,
                                   0,
                                   true,
                                   QString(),
                                   "x.bmp",
                                   QVariantList {1, "a"},
                                   QVariantMap {{"a", 1}},
                                   QUrl("http://host/a.png"),
                                   QUrl("file:"),
                                   QColor()};
        for (const QVariant &value : values) {
            QVERIFY(!exporter.save(item.get(), value).isEmpty());
            for (const char *option : {"scale", "background", "title", "dpi"}) {
                const QString file = directory.filePath(QString("%1.png").arg(option));
                QFile::remove(file);
                const QString answer = exporter.save(item.get(), file, {{option, value}});
                QCOMPARE(QFile::exists(file), answer.isEmpty());
            }
        }
    }
};

QTEST_MAIN(tst_Export)
#include "tst_export.moc"
