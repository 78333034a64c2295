// What paint() puts on the pixels must be exactly what the plain draw calls put
// there: the same setPen/setBrush/setFont/drawText/drawPolygon/drawRect sequence,
// replayed on a bare QPainter. Whatever the item keeps between frames to paint
// faster (label layouts) must never show, in the first frame or any later one.

#include "bench_scene.h"
#include "test_item.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtTest/QtTest>

#include <functional>

using namespace BenchScene;

using PainterSetup = std::function<void(QPainter *)>;
Q_DECLARE_METATYPE(PainterSetup)

namespace {

QImage render(const PainterSetup &setup, const std::function<void(QPainter *)> &paint)
{
    QImage image(480, 320, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    setup(&painter);
    paint(&painter);
    return image;
}

QImage reference(const Scene &scene, const PainterSetup &setup)
{
    return render(setup, [&](QPainter *painter) {
        replay(painter, boxDrawList(scene, painter->pen(), painter->brush(), painter->font()));
    });
}

Box box(Box::Kind kind, const QString &id, double x, double y, double w, double h)
{
    Box result;
    result.kind = kind;
    result.id = id;
    result.x = x;
    result.y = y;
    result.width = w;
    result.height = h;
    result.borderWidth = kind == Box::Dvi ? 2 : 3;
    result.markers = Top | Right;
    result.picked = Left;
    result.withParam = Top;
    return result;
}

// Labels that take every branch of Qt's text formatting: clipped, multi-line,
// tabs, trailing spaces, right-to-left, mnemonics, length variants, empty.
Scene awkwardLabels()
{
    const QStringList ids = {
            QStringLiteral("P1"),
            QStringLiteral("a label far too long for its box"),
            QString(),
            QStringLiteral("trailing  "),
            QStringLiteral("  leading"),
            QStringLiteral("two\nlines"),
            QStringLiteral("cr\rreturn"),
            QStringLiteral("tab\there"),
            QStringLiteral("&Mnemonic && more"),
            QStringLiteral("\u05e9\u05dc\u05d5\u05dd abc"),
            QStringLiteral("\u0645\u0631\u062d\u0628\u0627"),
            QStringLiteral("long variant\u009cshort"),
            QStringLiteral("line\u2028separator"),
            QStringLiteral("e\u0301\u0301 combining"),
            QStringLiteral("\u4e2d\u6587 CJK"),
            QStringLiteral("x"),
    };
    Scene scene = mixedScene(0);
    const double sizes[][2] = {{90, 40}, {40, 14}, {60, 60}, {11, 11}, {150, 30}};
    int i = 0;
    for (const Box::Kind kind : {Box::Parameter, Box::Dvi, Box::Simple}) {
        for (const QString &id : ids) {
            const auto &size = sizes[i % 5];
            scene.boxes.append(
                    box(kind, id, (i * 37) % 400 + 0.3, (i * 53) % 280 + 0.6, size[0], size[1]));
            ++i;
        }
    }
    return scene;
}

void noSetup(QPainter *) { }

} // namespace

class tst_PaintReplay : public QObject
{
    Q_OBJECT

private slots:
    void sameAsReplay_data();
    void sameAsReplay();
    void cacheFollowsChanges_data();
    void cacheFollowsChanges();
};

void tst_PaintReplay::sameAsReplay_data()
{
    QTest::addColumn<int>("scene"); // 0 mixed, 1 awkward labels
    QTest::addColumn<PainterSetup>("setup");

    QTest::newRow("mixed scene") << 0 << PainterSetup(noSetup);
    QTest::newRow("awkward labels") << 1 << PainterSetup(noSetup);
    QTest::newRow("bold italic spaced font") << 1 << PainterSetup([](QPainter *p) {
        QFont font = p->font();
        font.setBold(true);
        font.setItalic(true);
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
        p->setFont(font);
    });
    QTest::newRow("underlined font") << 1 << PainterSetup([](QPainter *p) {
        QFont font = p->font();
        font.setUnderline(true);
        font.setStrikeOut(true);
        p->setFont(font);
    });
    QTest::newRow("right to left")
            << 1 << PainterSetup([](QPainter *p) { p->setLayoutDirection(Qt::RightToLeft); });
    QTest::newRow("scaled and rotated") << 1 << PainterSetup([](QPainter *p) {
        p->translate(30, -20);
        p->scale(1.3, 0.9);
        p->rotate(4);
    });
    QTest::newRow("clipped") << 0 << PainterSetup([](QPainter *p) {
        p->setClipRect(QRect(50, 40, 300, 200));
    });
}

void tst_PaintReplay::sameAsReplay()
{
    QFETCH(int, scene);
    QFETCH(PainterSetup, setup);

    Scene boxes = scene == 0 ? mixedScene(400) : awkwardLabels();
    if (scene == 0) {
        // Scaled into the smaller test image.
        for (Box &box : boxes.boxes) {
            box.x /= 4, box.y /= 4, box.width /= 2, box.height /= 2;
        }
    }
    TestItem item;
    feed(item, boxes);
    const QImage expected = reference(boxes, setup);
    const auto paint = [&item](QPainter *painter) { item.paint(painter); };
    QCOMPARE(render(setup, paint), expected); // the first frame lays the labels out
    QCOMPARE(render(setup, paint), expected); // later frames reuse what they can
}

void tst_PaintReplay::cacheFollowsChanges_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("painter font changes between frames") << 0;
    QTest::newRow("boxes added again with other sizes") << 1;
    QTest::newRow("boxes cleared and added again") << 2;
    QTest::newRow("label pen switched off") << 3;
}

void tst_PaintReplay::cacheFollowsChanges()
{
    QFETCH(int, change);

    Scene scene = awkwardLabels();
    TestItem item;
    feed(item, scene);
    const auto paint = [&item](QPainter *painter) { item.paint(painter); };
    render(noSetup, paint);

    PainterSetup setup = noSetup;
    switch (change) {
    case 0:
        setup = [](QPainter *p) {
            QFont font(QStringLiteral("DejaVu Serif"));
            font.setWeight(QFont::Light);
            font.setCapitalization(QFont::AllUppercase);
            p->setFont(font);
        };
        break;
    case 1:
        for (Box &box : scene.boxes) {
            box.width *= 1.7;
            box.height *= 1.2;
        }
        feed(item, scene);
        break;
    case 2:
        item.clearAll();
        std::reverse(scene.boxes.begin(), scene.boxes.end());
        for (Box &box : scene.boxes)
            box.x += 13.25;
        feed(item, scene);
        break;
    case 3:
        scene.dviStyle.insert(QStringLiteral("style"), 0);
        scene.simpleStyle.insert(QStringLiteral("textColor"), QStringLiteral("#c02020"));
        item.setBoxDVIStyle(scene.dviStyle);
        item.setBoxSimpleStyle(scene.simpleStyle);
        break;
    }
    QCOMPARE(render(setup, paint), reference(scene, setup));
}

QTEST_MAIN(tst_PaintReplay)
#include "tst_paint_replay.moc"
