#include "bll_painted_item_picking.h"
#include "test_item.h"

#include <QtCore/QRandomGenerator>
#include <QtTest/QtTest>

#include <cmath>

// Picking against a plain scan over the boxes the test itself added, after every kind of store
// operation, on random overlapping scenes of all three families.

namespace {

struct Added
{
    QString family, id;
    double x, y, w, h, b;
};

// Where a box is picked, worked out here from what was added: a simple box's rectangle in whole
// pixels, the others' as stored; none for a box that paints nothing.
bool pickedBy(const Added &box, QRectF *rect)
{
    if (!(box.w > 1 && box.h > 1) || !std::isfinite(box.x + box.y + box.w + box.h))
        return false;
    *rect = box.family == "simple"
            ? QRectF(std::trunc(box.x), std::trunc(box.y), std::trunc(box.w), std::trunc(box.h))
            : QRectF(box.x, box.y, box.w, box.h);
    return std::abs(rect->left()) < 1e9 && std::abs(rect->right()) < 1e9
            && std::abs(rect->top()) < 1e9 && std::abs(rect->bottom()) < 1e9;
}

// The nearest side; in a frame of uniform width that is the band holding the point.
QString nearestSide(const QRectF &r, const QPointF &p, bool lastWins)
{
    const double distances[] = {p.y() - r.top(), r.bottom() - p.y(), p.x() - r.left(),
                                r.right() - p.x()};
    const char *names[] = {"top", "bottom", "left", "right"};
    int nearest = 0;
    for (int i = 1; i < 4; ++i)
        if (lastWins ? distances[i] <= distances[nearest] : distances[i] < distances[nearest])
            nearest = i;
    return names[nearest];
}

QString expectedSide(const Added &box, const QRectF &rect, const QPointF &p)
{
    if (box.family == "dvi")
        return nearestSide(rect, p, false);
    if (box.family == "simple" || !(box.b > 0))
        return QString();
    if (rect.adjusted(box.b, box.b, -box.b, -box.b).contains(p)) // inside the bands
        return QString();
    return nearestSide(rect, p, true);
}

class Scene
{
public:
    // Boxes in paint order: the families' order, then each family's order of first adding.
    QVector<Added> inPaintOrder() const
    {
        QVector<Added> all;
        for (const char *family : {"parameter", "dvi", "simple"})
            for (const Added &box : boxes)
                if (box.family == family)
                    all << box;
        return all;
    }
    QVariantMap boxAt(const QPointF &p) const
    {
        const QVector<Added> all = inPaintOrder();
        for (int i = all.size() - 1; i >= 0; --i) {
            QRectF rect;
            if (pickedBy(all[i], &rect) && rect.left() <= p.x() && p.x() <= rect.right()
                && rect.top() <= p.y() && p.y() <= rect.bottom())
                return {{"family", all[i].family},
                        {"boxId", all[i].id},
                        {"side", expectedSide(all[i], rect, p)}};
        }
        return {};
    }
    QStringList boxesIn(const QRectF &area) const
    {
        QStringList found;
        const QVector<Added> all = inPaintOrder();
        for (int i = all.size() - 1; i >= 0; --i) {
            QRectF rect;
            if (pickedBy(all[i], &rect) && rect.left() <= area.right()
                && area.left() <= rect.right() && rect.top() <= area.bottom()
                && area.top() <= rect.bottom())
                found << all[i].family + ' ' + all[i].id;
        }
        return found;
    }
    void add(const Added &box)
    {
        for (Added &known : boxes)
            if (known.family == box.family && known.id == box.id) {
                known = box; // added again: the same place in the order, elsewhere
                return;
            }
        boxes << box;
    }
    void clear(const QString &family)
    {
        boxes.erase(std::remove_if(boxes.begin(), boxes.end(),
                                   [&](const Added &box) { return box.family == family; }),
                    boxes.end());
    }
    QVector<Added> boxes;
};

QStringList found(const QVector<BllPickedBox> &boxes)
{
    QStringList names;
    for (const BllPickedBox &box : boxes)
        names << box.family + ' ' + box.boxId;
    return names;
}

} // namespace

class tst_Picking : public QObject
{
    Q_OBJECT

private slots:
    void matchesAPlainScan_data()
    {
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("hugeOnes"); // one box in so many spans most of the scene, 0: none
        QTest::newRow("a few, sparse") << 12 << 0;
        QTest::newRow("hundreds, overlapping") << 300 << 0;
        QTest::newRow("thousands, crowded") << 3000 << 0;
        // Boxes listed everywhere, some moving in and out of the grid's cells as they are added
        // again, across the grid being laid out anew.
        QTest::newRow("tiny ones and huge ones") << 2000 << 25;
    }

    // Rounds of store operations, each followed by questions at random points and rectangles.
    void matchesAPlainScan()
    {
        QFETCH(int, boxes);
        QFETCH(int, hugeOnes);
        QRandomGenerator random {quint32(boxes)};
        const auto number = [&](double low, double high) {
            return low + random.generateDouble() * (high - low);
        };
        TestItem item;
        Scene scene;
        QImage image(400, 300, QImage::Format_ARGB32_Premultiplied);
        const char *methods[] = {"addBoxF", "addBoxDVIF", "addBoxSimpleF"};
        const char *families[] = {"parameter", "dvi", "simple"};
        const char *clears[] = {"clearBoxF", "clearBoxDVIF", "clearBoxSimpleF"};
        // A box added, or added again elsewhere (ids repeat).
        const auto addOne = [&] {
            const int family = random.bounded(3);
            const bool huge = hugeOnes && random.bounded(hugeOnes) == 0;
            const double w = huge             ? number(250, 420)
                    : random.bounded(40) == 0 ? number(-5, 1.5)
                                              : number(2, hugeOnes ? 6 : 90);
            const double h = huge ? number(200, 320) : number(2, hugeOnes ? 5 : 60);
            Added box {families[family],
                       QString::number(random.bounded(boxes)),
                       number(-20, 400),
                       number(-20, 300),
                       w,
                       h,
                       number(-1, qMin(w, h) / 2)};
            if (random.bounded(50) == 0)
                box.x = random.bounded(2) ? qQNaN() : 3e9; // never picked
            QVariantList args {box.id, box.x, box.y, box.w, box.h};
            if (family < 2)
                args << box.b;
            invoke(&item, methods[family], args);
            scene.add(box);
        };
        for (int round = 0; round < 6; ++round) {
            for (int i = 0; i < boxes; ++i)
                addOne();
            // Updates switch states and move nothing; styles move nothing either.
            run(&item,
                "updateAllBoxF {topBorder:1}; updateAllBoxDVIF {showBorder:0};"
                "setBoxSimpleStyle {width:9}; setBoxStyle {width:7}");
            if (round % 2) { // a frame in between, which asks the index too
                QPainter painter(&image);
                item.paint(&painter);
            }
            if (round == 3) {
                const int family = random.bounded(3);
                invoke(&item, clears[family], {});
                scene.clear(families[family]);
            }
            for (int question = 0; question < 300; ++question) {
                if (question % 4 == 3) // a few moves at a time, which the index catches up with
                    addOne();
                const QPointF p(number(-30, 420), number(-30, 320));
                const BllPickedBox box = BllPicking::boxAt(&item, p);
                const QVariantMap expected = scene.boxAt(p);
                QCOMPARE(box.family, expected.value("family").toString());
                QCOMPARE(box.boxId, expected.value("boxId").toString());
                QCOMPARE(box.side, expected.value("side").toString());

                const QRectF area(p, QSizeF(number(-80, 80), number(-80, 80)));
                QCOMPARE(found(BllPicking::boxesIn(&item, area)), scene.boxesIn(area.normalized()));
            }
        }
    }

    // Points exactly on an edge, which random points never hit: edges pick, and where two bands
    // meet on a diagonal the later one drawn is picked.
    void exactlyOnEdges_data()
    {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<QString>("picked"); // boxId and side
        QTest::newRow("left edge") << QPointF(10, 30) << "p left";
        QTest::newRow("top edge") << QPointF(30, 10) << "p top";
        QTest::newRow("right edge") << QPointF(60, 30) << "p right";
        QTest::newRow("bottom edge") << QPointF(30, 50) << "p bottom";
        QTest::newRow("top and left bands' diagonal") << QPointF(12, 12) << "p left";
        QTest::newRow("just past the right edge") << QPointF(60.001, 30) << " ";
    }
    void exactlyOnEdges()
    {
        QFETCH(QPointF, point);
        QFETCH(QString, picked);
        TestItem item;
        run(&item, "addBoxF p 10 10 50 40 4");
        const BllPickedBox box = BllPicking::boxAt(&item, point);
        QCOMPARE(box.boxId + ' ' + box.side, picked);
        // An area of no size there meets the box as the point does.
        QCOMPARE(BllPicking::boxesIn(&item, QRectF(point, QSizeF(0, 0))).size(),
                 int(!box.isNull()));
    }

    // Whatever a script computes: never a crash, a hang or a box where there is none.
    void hostileQuestions_data()
    {
        QTest::addColumn<QVariant>("item");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("boxes"); // that boxesIn finds; -1: boxAt finds one too
        TestItem *item = new TestItem;
        item->setParent(this);
        run(item,
            "addBoxF p 10 10 50 40 4; addBoxDVIF d 1e300 1e300 50 40 4;"
            "addBoxSimpleF s nan 10 50 40; addBoxSimpleF t 100 100 inf 40");
        const QVariant ours = QVariant::fromValue<QObject *>(item);
        const double inf = qInf(), nan = qQNaN();
        QTest::newRow("a box") << ours << 20.0 << 20.0 << 1.0 << 1.0 << -1;
        QTest::newRow("not a number") << ours << nan << 20.0 << 1.0 << 1.0 << 0;
        QTest::newRow("infinite") << ours << inf << -inf << 1.0 << 1.0 << 0;
        QTest::newRow("everything") << ours << -inf << -inf << inf << inf << 0;
        QTest::newRow("enormous") << ours << -1e308 << -1e308 << inf << inf << 1;
        QTest::newRow("width not a number") << ours << 0.0 << 0.0 << nan << 5.0 << 0;
        QTest::newRow("height not a number") << ours << 0.0 << 0.0 << 500.0 << nan << 0;
        QTest::newRow("another object")
                << QVariant::fromValue<QObject *>(this) << 20.0 << 20.0 << 1.0 << 1.0 << 0;
        QTest::newRow("null") << QVariant::fromValue<QObject *>(nullptr) << 20.0 << 20.0 << 1.0
                              << 1.0 << 0;
        QTest::newRow("a number") << QVariant(3) << 20.0 << 20.0 << 1.0 << 1.0 << 0;
    }
    void hostileQuestions()
    {
        QFETCH(QVariant, item);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(int, boxes);
        const BllPicking picking;
        const QVariant box = picking.boxAt(item, x, y);
        QCOMPARE(box.isNull(), boxes != -1);
        QCOMPARE(picking.boxesIn(item, x, y, width, height).size(), qAbs(boxes));
    }
};

QTEST_MAIN(tst_Picking)
#include "tst_picking.moc"
