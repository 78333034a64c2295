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
// new item, never painted, fed the same calls. Sequences written to set traps, and generated
// sequences of all 30 methods with hostile values among them, run on raster images and pixmaps,
// scaled, transformed and clipped, with derived items that draw before and after the boxes.

using Call = QPair<QByteArray, QVariantList>;
using Calls = QVector<Call>;

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
    else if (type != QtDebugMsg)
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
            return pick({qQNaN(), 1e300, -1e300, -40.0, 0.0, 3e9, 1e5, -2e7});
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
    const auto style = [&](const QStringList &colours) {
        QVariantMap map {{"style", int(random.bounded(7))}, {"width", int(random.bounded(5))}};
        for (const QString &key : colours)
            if (random.bounded(2))
                map.insert(key, colour());
        return map;
    };
    const auto name = [&](const QVariantList &names) { return pick(names).toByteArray(); };
    const auto box = [&] {
        return QVariantList {id(), number(-20, 220), number(-20, 140), number(0, 90),
                             number(0, 70)};
    };
    const QStringList sides = {"topBorder", "bottomBorder", "leftBorder", "rightBorder"};
    const QStringList dviKeys = sides + QStringList {"showText", "showBorder"};
    // Adds and updates come more often than styles and clears.
    const int kinds[] = {0, 0, 0, 1, 1, 2, 2, 2,  3,  3,  3,  4,
                         4, 5, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    Calls calls;
    while (calls.size() < count) {
        switch (kinds[random.bounded(int(std::size(kinds)))]) {
        case 0:
            calls.append({"addBoxF", box() << number(0, 8)});
            break;
        case 1:
            calls.append({"addBoxDVIF", box() << number(0, 8)});
            break;
        case 2:
            calls.append({"addBoxSimpleF", box()});
            break;
        case 3:
            calls.append({"updateBoxSimpleF", {id(), flags({"isHover", "isSelected"})}});
            break;
        case 4:
            calls.append({"updateBoxF", {id(), flags(sides)}});
            break;
        case 5:
            calls.append({"updateBoxDVIF", {id(), flags(dviKeys)}});
            break;
        case 6:
            calls.append({name({"updateBoxParamF", "updateAllBoxParamF"}),
                          {QVariantMap {{"currentParam", pick({1, 2.5, qQNaN()})}}}});
            break;
        case 7:
            calls.append({name({"updateAllBoxF", "updateAllBoxDVIF"}), {flags(sides)}});
            break;
        case 8:
            calls.append(
                    {"setBoxStyle",
                     {style({"color", "textColor", "fillColor", "brushColor", "pickBorderColor",
                             "paramBorderColor", "pickParamBorderColor"})}});
            break;
        case 9:
            calls.append({"setBoxDVIStyle", {style({"color", "brushColor"})}});
            break;
        case 10:
            calls.append({"setBoxSimpleStyle",
                          {style({"color", "textColor", "fillColor", "brushColor", "isHoverColor",
                                  "isSelectedColor"})}});
            break;
        case 11:
            calls.append({"setBoxDVIFillColor", {colour()}});
            break;
        case 12:
            calls.append({name({"clearBoxF", "clearBoxDVIF", "clearBoxSimpleF", "clearAll"}),
                          QVariantList()});
            break;
        case 13:
            calls.append({name({"addRectF", "addEllipseF", "addLineF"}),
                          box().mid(1) << QVariantMap {{"color", colour()}}});
            break;
        default:
            calls.append({name({"setRectStyle", "setLineStyle", "setEllipseStyle"}),
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

    void framesMatchFullRepaints_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<QString>(
                "script"); // frames separated by '|'; generated from seed if empty
        Setup setup;
        const auto rows = [&](const char *name, const Setup &s) {
            for (quint32 seed = 1; seed <= 3; ++seed)
                QTest::addRow("%s, seed %u", name, seed) << s << seed << QString();
        };
        // Ink far from a box's own rectangle, families that start from other tools.
        const QString marks = "e" + QString(16, QChar(0x301));
        QTest::newRow("marks stacked far above their box, under a box that changes")
                << setup << 0u
                << "setBoxSimpleStyle {brushColor:white, isHoverColor:yellow};"
                   "addBoxSimpleF over 100 30 60 40; addBoxSimpleF "
                        + marks
                        + " 100 100 100 100 | updateBoxSimpleF over {isHover:true}"
                          "| updateBoxSimpleF over {isHover:false}";
        QTest::newRow("the first parameter box gives the markers another pen")
                << setup << 0u
                << "setBoxStyle {width:4, color:red}; addBoxDVIF d 20 20 100 60 3;"
                   "updateBoxDVIF d {topBorder:1} | addBoxF p 150 20 60 60 4"
                   "| addBoxF p 150 20 0 0 4 | updateBoxDVIF d {bottomBorder:1}";
        QTest::newRow("a box under boxes of every family")
                << setup << 0u
                << "addBoxSimpleF s 50 50 80 50; addBoxF p 60 40 60 40 6; addBoxDVIF d 40 60 70 "
                   "50 4; updateBoxDVIF d {leftBorder:1}; addBoxSimpleF t 70 70 30 30"
                   "| updateBoxSimpleF s {isSelected:1} | addBoxSimpleF s 55 52 80 50"
                   "| updateBoxF p {topBorder:1}; updateBoxDVIF d {showText:0}";
        QTest::newRow("a box cut by the damage, blended as when drawn whole")
                << setup << 0u
                << "setBoxStyle {style:5, width:2}; setBoxDVIStyle {brushColor:#0ac81e, style:3,"
                   "width:0}; addBoxF p -18.2 -2.9 74 21.7 5.7; addBoxDVIF d 183.2 114.9 34.8 "
                   "63.1 7.2; addBoxDVIF e 162.3 126.3 68.2 55.2 7; addBoxSimpleF s 114.529 "
                   "-9.57775 30.9277 36.0109 | addBoxDVIF d 125.7 -12.2 7.2 41.2 0.01";
        QTest::newRow("bands reaching 1e300, drawn by Qt elsewhere")
                << setup << 0u
                << "addBoxF p 185 -1.6 58.5 40.5 2.3; addBoxF q 110.9 63.3 60.8 27.8 -1e300"
                   "| updateBoxF p {topBorder:1, rightBorder:1}";
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
        QFETCH(QString, script);

        // What each frame changes, as calls on an item.
        QVector<std::function<void(QObject *)>> changes;
        if (script.isEmpty()) {
            const Calls calls = generate(seed, 200);

            QRandomGenerator random(seed);
            for (int done = 0; done < calls.size();) {
                const Calls some = calls.mid(done, 1 + int(random.bounded(3)));
                done += some.size();
                changes.append([some](QObject *item) {
                    for (const auto &call : some)
                        invoke(item, call.first, call.second);
                });
            }
        } else {
            for (const QString &calls : script.split('|'))
                changes.append([calls](QObject *item) { run(item, calls); });
        }

        FramingItem framing;
        Bll_Painted_Item plain;
        Bll_Painted_Item &item = setup.framing ? framing : plain;
        QPixmap pixmap;
        QImage image;
        itemSize = QSize(240, 160);
        partialFrames = 0;
        for (int frames = 0; frames < changes.size(); ++frames) {
            changes[frames](&item);
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
            for (int i = 0; i <= frames; ++i)
                changes[i](&fresh);
            QPixmap freshPixmap;
            QImage freshImage;
            const int partial = partialFrames;
            const QImage expected = frame(fresh, setup, freshPixmap, freshImage);
            QCOMPARE(partialFrames, partial); // a new item paints in full
            QVERIFY2(frame(item, setup, pixmap, image) == expected,
                     qPrintable(QString("frame %1").arg(frames)));
        }
        QCOMPARE(partialFrames > 0, setup.retains);
    }
};

QTEST_MAIN(tst_Retained)
#include "tst_retained.moc"
