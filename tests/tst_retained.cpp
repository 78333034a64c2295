#include "test_item.h"

#include <QtCore/QLoggingCategory>
#include <QtCore/QRandomGenerator>
#include <QtGui/QFontDatabase>
#include <QtGui/QImage>
#include <QtGui/QPixmap>
#include <QtTest/QtTest>

#include <functional>

// Frames painted as Qt Quick paints them, the fill then paint(), by an item that keeps its frames
// and repaints what changed, compared pixel for pixel with a full repaint of the same state: a
// new item, never painted, fed the same calls. Generated sequences of all 30 methods, hostile
// values among them, run on raster images and pixmaps, scaled, transformed and clipped, with
// derived items that draw before and after the boxes.

using Calls = QVector<QPair<QByteArray, QVariantList>>;

namespace {

// Draws under and over the boxes, the latter with the tools the boxes leave.
class FramingItem : public Bll_Painted_Item
{
public:
    QColor under = Qt::transparent;
    QRectF underArea; // all of it when null
    void paint(QPainter *painter) override
    {
        painter->fillRect(underArea.isNull() ? painter->window() : underArea, under);
        QFont italic("DejaVu Serif");
        italic.setItalic(true);
        painter->setFont(italic);
        Bll_Painted_Item::paint(painter);
        painter->drawRect(QRectF(150, 100, 40, 30));
        painter->drawText(QPointF(20, 150), "after");
    }
};

struct Setup
{
    enum Twist { None, Resize, Ratio, Fonts, UnderArea };
    Twist twist = None; // what changes half-way through
    bool retains = true; // whether frames ever repaint only what changed
    bool pixmap = false;
    qreal ratio = 1;
    QTransform transform; // the item's scale into its texture, or anything a derived item sets
    QRect clip; // none when null
    bool framing = false; // a derived item that draws before and after the boxes
};

QSize itemSize(240, 160);
int partialFrames = 0;

void countPartialFrames(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (QByteArray(context.category) == "bll.painteditem.retained")
        partialFrames += message.startsWith("repainted");
    if (qEnvironmentVariableIsSet("SHOWALL"))
        fprintf(stderr, "%s\n", qPrintable(message));
    else if (type != QtDebugMsg || message.startsWith("partial")
             || qEnvironmentVariableIsSet("SHOWALL"))
        fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

Q_DECLARE_METATYPE(Setup)

namespace {

// One frame as the painter node paints it: the fill over the whole texture, then paint().
QImage frame(Bll_Painted_Item &item, const Setup &setup, QPixmap &pixmap, QImage &image)
{
    const QSize texture = (QSizeF(itemSize) * setup.ratio).toSize()
            * (setup.transform.m11() > 1 ? setup.transform.m11() : 1);
    if (setup.pixmap && pixmap.size() != texture) {
        pixmap = QPixmap(texture);
        pixmap.fill(Qt::transparent);
    }
    if (!setup.pixmap && image.size() != texture) {
        image = QImage(texture, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
    }
    QPaintDevice *device = setup.pixmap ? static_cast<QPaintDevice *>(&pixmap) : &image;
    pixmap.setDevicePixelRatio(setup.ratio);
    image.setDevicePixelRatio(setup.ratio);
    QPainter painter(device);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    if (!setup.clip.isNull())
        painter.setClipRect(setup.clip);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(QPoint(0, 0), texture), item.fillColor());
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setTransform(setup.transform);
    (item.*(&TestItem::paint))(&painter);
    painter.end();
    return setup.pixmap ? pixmap.toImage() : image.copy();
}

// Calls of every method, on a few ids and in an item-sized area, with now and then a value a
// script might compute by mistake.
Calls generate(quint32 seed, int count)
{
    QRandomGenerator random(seed);
    const auto pick = [&](const QVariantList &values) {
        return values.at(random.bounded(values.size()));
    };
    const auto number = [&](double low, double high) -> QVariant {
        if (random.bounded(40) == 0)
            return pick({qQNaN(), 1e300, -1e300, -40.0, 0.0, 3e9});
        return low + random.generateDouble() * (high - low);
    };
    const auto colour = [&] {
        return pick({int(random.bounded(20)), "#80ff0000", "steelblue", QColor(10, 200, 30),
                     "nonsense", 2.5});
    };
    // Labels that overhang, stack marks far above their line, or do not fit.
    const auto id = [&] {
        return pick(
                {"a", "Wj", "ff", "", QStringLiteral("e\u0301\u0301\u0301"), "too long to fit"});
    };
    const auto flags = [&](const QStringList &keys) {
        QVariantMap map;
        for (const QString &key : keys)
            if (random.bounded(2))
                map.insert(key, random.bounded(3) != 0);
        return map;
    };
    const QStringList sides = {"topBorder", "bottomBorder", "leftBorder", "rightBorder"};
    const auto style = [&](const QStringList &colours) {
        QVariantMap map {{"style", int(random.bounded(7))}, {"width", int(random.bounded(5))}};
        for (const QString &key : colours)
            if (random.bounded(2))
                map.insert(key, colour());
        return map;
    };

    Calls calls;
    while (calls.size() < count) {
        const QVariant x = number(-20, 220), y = number(-20, 140), w = number(0, 90),
                       h = number(0, 70), b = number(0, 8);
        switch (random.bounded(24)) {
        case 0:
        case 1:
        case 2:
            calls.append({"addBoxF", {id(), x, y, w, h, b}});
            break;
        case 3:
        case 4:
            calls.append({"addBoxDVIF", {id(), x, y, w, h, b}});
            break;
        case 5:
        case 6:
        case 7:
            calls.append({"addBoxSimpleF", {id(), x, y, w, h}});
            break;
        case 8:
        case 9:
        case 10:
            calls.append({"updateBoxSimpleF", {id(), flags({"isHover", "isSelected"})}});
            break;
        case 11:
        case 12:
            calls.append({"updateBoxF", {id(), flags(sides)}});
            break;
        case 13:
        case 14:
            calls.append({"updateBoxDVIF",
                          {id(), flags(sides + QStringList {"showText", "showBorder"})}});
            break;
        case 15:
            calls.append({pick({"updateBoxParamF", "updateAllBoxParamF"}).toByteArray(),
                          {QVariantMap {{"currentParam", pick({1, 2.5, qQNaN()})}}}});
            break;
        case 16:
            calls.append(
                    {pick({"updateAllBoxF", "updateAllBoxDVIF"}).toByteArray(), {flags(sides)}});
            break;
        case 17:
            calls.append(
                    {"setBoxStyle",
                     {style({"color", "textColor", "fillColor", "brushColor", "pickBorderColor",
                             "paramBorderColor", "pickParamBorderColor"})}});
            break;
        case 18:
            calls.append({"setBoxDVIStyle", {style({"color", "brushColor"})}});
            break;
        case 19:
            calls.append({"setBoxSimpleStyle",
                          {style({"color", "textColor", "fillColor", "brushColor", "isHoverColor",
                                  "isSelectedColor"})}});
            break;
        case 20:
            calls.append({"setBoxDVIFillColor", {colour()}});
            break;
        case 21:
            calls.append({pick({"clearBoxF", "clearBoxDVIF", "clearBoxSimpleF", "clearAll"})
                                  .toByteArray(),
                          QVariantList()});
            break;
        case 22:
            calls.append({pick({"addRectF", "addEllipseF", "addLineF"}).toByteArray(),
                          {x, y, w, h, QVariantMap {{"color", colour()}}}});
            break;
        default:
            calls.append({pick({"setRectStyle", "setLineStyle", "setEllipseStyle"}).toByteArray(),
                          {style({"color", "brushColor"})}});
        }
    }
    return calls;
}

} // namespace

class tst_Retained : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules("bll.painteditem.retained.debug=true");
        qInstallMessageHandler(countPartialFrames);
    }

    // Sequences that put what a frame keeps to the test, frame by frame (frames separated by
    // "|"): ink far from a box's own rectangle, families that start from other tools.
    void trapsMatchFullRepaints_data()
    {
        QTest::addColumn<QString>("frames");
        const QString marks = "e" + QString(16, QChar(0x301));
        QTest::newRow("marks stacked far above their box, under a box that changes")
                << "setBoxSimpleStyle {brushColor:white, isHoverColor:yellow};"
                   "addBoxSimpleF over 100 30 60 40; addBoxSimpleF "
                        + marks
                        + " 100 100 100 100 | updateBoxSimpleF over {isHover:true}"
                          "| updateBoxSimpleF over {isHover:false}";
        QTest::newRow("the first parameter box gives the markers another pen")
                << "setBoxStyle {width:4, color:red}; addBoxDVIF d 20 20 100 60 3;"
                   "updateBoxDVIF d {topBorder:1} | addBoxF p 150 20 60 60 4"
                   "| addBoxF p 150 20 0 0 4 | updateBoxDVIF d {bottomBorder:1}";
        QTest::newRow("a box under boxes of every family")
                << "addBoxSimpleF s 50 50 80 50; addBoxF p 60 40 60 40 6; addBoxDVIF d 40 60 70 50 "
                   "4;"
                   "updateBoxDVIF d {leftBorder:1}; addBoxSimpleF t 70 70 30 30"
                   "| updateBoxSimpleF s {isSelected:1} | addBoxSimpleF s 55 52 80 50"
                   "| updateBoxF p {topBorder:1}; updateBoxDVIF d {showText:0}";
    }
    void trapsMatchFullRepaints()
    {
        QFETCH(QString, frames);
        Bll_Painted_Item item;
        QPixmap pixmap;
        QImage image;
        QString calls;
        partialFrames = 0;
        for (const QString &next : frames.split('|')) {
            run(&item, next);
            calls += next + ';';
            Bll_Painted_Item fresh; // a full repaint of the same state
            run(&fresh, calls);
            QPixmap freshPixmap;
            QImage freshImage;
            QCOMPARE(frame(item, Setup(), pixmap, image),
                     frame(fresh, Setup(), freshPixmap, freshImage));
        }
        QVERIFY(partialFrames > 0);
    }

    void framesMatchFullRepaints_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<quint32>("seed");
        Setup setup;
        const auto rows = [&](const char *name, const Setup &s) {
            for (quint32 seed = 1; seed <= 2; ++seed)
                QTest::addRow("%s, seed %u", name, seed) << s << seed;
        };
        rows("image", setup);
        setup.pixmap = true;
        rows("pixmap", setup);
        setup.ratio = 2;
        rows("pixmap at ratio 2", setup);
        setup.pixmap = false;
        rows("image at ratio 2", setup);
        setup.ratio = 1;
        setup.transform = QTransform::fromScale(1.5, 1.5);
        rows("texture larger than the item", setup);
        setup.transform = QTransform().translate(20, -10).rotate(7).scale(0.8, 1.1);
        rows("transformed", setup);
        setup.transform = QTransform();
        for (const auto twist : {Setup::Resize, Setup::Ratio, Setup::Fonts}) {
            setup.twist = twist;
            rows(twist == Setup::Resize          ? "resized"
                         : twist == Setup::Ratio ? "ratio changed"
                                                 : "fonts added",
                 setup);
        }
        setup.twist = Setup::None;
        setup.framing = true;
        rows("derived, drawing before and after", setup);
        setup.twist = Setup::UnderArea;
        rows("derived, drawing part of what lies under the boxes", setup);
        setup.retains = false;
        setup.twist = Setup::None;
        setup.pixmap = true;
        rows("derived, drawing before and after, pixmap", setup);
        setup.pixmap = false;
        setup.framing = false;
        setup.clip = QRect(30, 20, 150, 100);
        rows("clipped", setup);
    }

    void framesMatchFullRepaints()
    {
        QFETCH(Setup, setup);
        QFETCH(quint32, seed);

        FramingItem framing;
        Bll_Painted_Item plain;
        Bll_Painted_Item &item = setup.framing ? framing : plain;
        QPixmap pixmap;
        QImage image;
        const Calls calls = generate(seed, 200);
        QRandomGenerator random(seed);
        itemSize = QSize(240, 160);
        partialFrames = 0;
        for (int done = 0, frames = 0; done < calls.size(); ++frames) {
            const int next = qMin(done + 1 + int(random.bounded(3)), calls.size());
            for (; done < next; ++done)
                invoke(&item, calls[done].first, calls[done].second);
            if (frames % 13 == 12)
                framing.under = QColor::fromHsv(frames * 7 % 360, 200, 200);
            if (frames == 20 && setup.twist == Setup::Resize)
                itemSize = QSize(200, 180);
            if (frames == 20 && setup.twist == Setup::Ratio)
                setup.ratio = 2;
            if (frames == 20 && setup.twist == Setup::Fonts)
                QFontDatabase::addApplicationFont(
                        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
            if (frames == 20 && setup.twist == Setup::UnderArea)
                framing.underArea = QRectF(2, 2, 60, 30);

            FramingItem freshFraming;
            Bll_Painted_Item freshPlain;
            Bll_Painted_Item &fresh = setup.framing ? freshFraming : freshPlain;
            freshFraming.under = framing.under;
            freshFraming.underArea = framing.underArea;
            for (int i = 0; i < done; ++i)
                invoke(&fresh, calls[i].first, calls[i].second);
            QPixmap freshPixmap;
            QImage freshImage;
            const int partial = partialFrames;
            const QImage expected = frame(fresh, setup, freshPixmap, freshImage);
            QCOMPARE(partialFrames, partial); // a new item paints in full
            const QImage painted = frame(item, setup, pixmap, image);
            QVERIFY2(painted == expected,
                     qPrintable(QString("frame %1, after %2")
                                        .arg(frames)
                                        .arg(QString(calls[done - 1].first))));
        }
        QCOMPARE(partialFrames > 0, setup.retains);
        qDebug("partial %d", partialFrames);
    }
};

QTEST_MAIN(tst_Retained)
#include "tst_retained.moc"
