#include "test_item.h"

#include <QtTest/QtTest>

#include <climits>
#include <future>
#include <thread>

// Calls by method name, with QVariant arguments as QML passes them.
using Calls = QVector<QPair<QByteArray, QVariantList>>;
Q_DECLARE_METATYPE(Calls)

namespace {

const double notANumber = qQNaN(), inf = qInf();
// 100 is wider than the test boxes: as a border it overlaps the opposite band.
const QVector<double> hostileNumbers = {notANumber,   inf,           -inf, 1e300, -1e300,
                                        2147483648.0, -2147483649.0, 0,    -25,   100};
// Numbers, colour numbers past Qt::GlobalColor, strings that are no colour, lists and maps.
const QVariantList hostileValues = QVariantList {QVariant(), 2.7, -1, 20, 24, INT_MAX, INT_MIN}
        + QVariantList {1LL << 40, "no colour", QString(100000, '#'), QColor(), notANumber, inf}
        + QVariantList {1e300, -1e300, QVariantList {7, "red"}, QVariantMap {{"color", 7}}};

// The methods that take numbers, with valid arguments, and the clear that removes what they add.
const QVector<std::tuple<QByteArray, QVariantList, QByteArray>> addMethods = {
        {"addRectF", {20.0, 20.0, 30.0, 30.0, QVariantMap()}, "clearRectF"},
        {"addLineF", {20.0, 20.0, 30.0, 30.0, QVariantMap {{"style", 2}}}, "clearLineF"},
        {"addEllipseF", {20.0, 20.0, 30.0, 30.0, QVariantMap {{"brushColor", 7}}}, "clearEllipseF"},
        {"addBoxF", {"hostile", 30.0, 30.0, 60.0, 40.0, 3.0}, "clearBoxF"},
        {"addBoxDVIF", {"hostile", 30.0, 30.0, 60.0, 40.0, 3.0}, "clearBoxDVIF"},
        {"addBoxSimpleF", {"hostile", 30.0, 30.0, 60.0, 40.0}, "clearBoxSimpleF"}};

// The methods that take a map: the box they act on (if they take one) and the keys they read.
const QStringList shapeKeys = {"style", "width", "color", "brushColor"};
const QStringList sides = {"topBorder", "bottomBorder", "leftBorder", "rightBorder"};
const QStringList dviKeys = sides + QStringList {"showText", "showBorder"};
const QVector<std::tuple<QByteArray, QString, QStringList>> mapMethods = {
        {"setRectStyle", {}, shapeKeys},
        {"setLineStyle", {}, shapeKeys},
        {"setEllipseStyle", {}, shapeKeys},
        {"setBoxDVIStyle", {}, shapeKeys},
        {"setBoxStyle",
         {},
         shapeKeys
                 + QStringList {"textColor", "fillColor", "pickBorderColor", "paramBorderColor",
                                "pickParamBorderColor"}},
        {"setBoxSimpleStyle",
         {},
         shapeKeys + QStringList {"textColor", "fillColor", "isHoverColor", "isSelectedColor"}},
        {"updateBoxF", "param", sides},
        {"updateAllBoxF", {}, sides},
        {"updateBoxParamF", {}, {"currentParam"}},
        {"updateAllBoxParamF", {}, {"currentParam"}},
        {"updateBoxDVIF", "dvi", dviKeys},
        {"updateAllBoxDVIF", {}, dviKeys},
        {"updateBoxSimpleF", "simple", {"isHover", "isSelected"}}};

// The valid records of every family, after `clears` (all of them when empty), with every style
// key set (each colour key its own colour) and every state: all four band brushes in use.
void setValidRecords(Bll_Painted_Item &item, const QByteArrayList &clears)
{
    const QString records[] = {"addRectF 5 5 40 30 {color:7}; addRectF 50 5 30 30",
                               "addLineF 5 60 60 90; addLineF 60 90 90 60 {width:3}",
                               "addEllipseF 100 5 40 30 {brushColor:#00ff00}",
                               "addBoxF param 10 100 100 50 4",
                               "addBoxDVIF dvi 120 100 100 50 2",
                               "addBoxSimpleF simple 10 160 100 50;"
                               "addBoxSimpleF hovered 120 160 100 50"};
    for (int family = 0; family < 6; ++family) {
        const QByteArray clear = std::get<2>(addMethods[family]);
        if (clears.isEmpty() || clears.contains(clear))
            run(&item, clear + ';' + records[family]);
    }
    for (const auto &[method, boxId, keys] : mapMethods) {
        QVariantMap style;
        for (const QString &key : keys)
            style.insert(key, key == "style" || key == "width" ? 1 : 2 + int(style.size()));
        if (method.startsWith("set"))
            invoke(&item, method, {style});
    }
    run(&item,
        "updateAllBoxDVIF {showText:1, showBorder:1, topBorder:1, bottomBorder:1,"
        "leftBorder:1, rightBorder:1}; updateAllBoxF {topBorder:1, bottomBorder:1, leftBorder:1,"
        "rightBorder:1}; updateAllBoxParamF {currentParam:1};"
        "updateAllBoxF {bottomBorder:0, leftBorder:0, rightBorder:0};"
        "updateBoxParamF {currentParam:2.5}; updateAllBoxF {topBorder:0, rightBorder:1};"
        "updateBoxParamF {currentParam:3}; updateAllBoxF {topBorder:1, leftBorder:1,"
        "rightBorder:0}; updateBoxSimpleF simple {isHover:0, isSelected:0};"
        "updateBoxSimpleF hovered {isHover:1, isSelected:0}");
}

// Paints every family into a raster image, as a derived item does; ends the run when painting
// does not return (a guard against hangs, not a speed check).
QImage paintAll(TestItem &item)
{
    std::promise<void> done;
    std::thread watchdog([finished = done.get_future()] {
        if (finished.wait_for(std::chrono::seconds(20)) == std::future_status::timeout)
            qFatal("Hang: row \"%s\" did not return within 20 s", QTest::currentDataTag());
    });
    QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    item.paintAll(&painter);
    painter.end();
    done.set_value();
    watchdog.join();
    return image;
}

} // namespace

// Whatever a QML script computes reaches the item: each row makes hostile calls on an item
// holding valid records of every family and paints it, without crash, hang or undefined
// behaviour. Once the valid records (of the families it added to), styles and states are set
// again, the item must paint exactly as before.
class tst_HostileInput : public QObject
{
    Q_OBJECT

    QImage m_valid;

private slots:
    void initTestCase()
    {
        TestItem item;
        setValidRecords(item, {});
        m_valid = paintAll(item);
        QCOMPARE(callTexts(paintWith(item, &TestItem::paintAll).calls).size(), 24);
    }

    void validRecordsSurvive_data()
    {
        QTest::addColumn<Calls>("calls");
        QTest::addColumn<QByteArrayList>("clears"); // the families the calls add to
        const auto named = [](const QVariant &value) {
            return value.typeName() + (' ' + value.toString().left(12)).toLatin1();
        };

        // Add methods: each number alone and all at once, each value in a shape's own style,
        // boxIds empty and 1 MB (of UTF-16).
        for (const auto &[method, valid, clear] : addMethods) {
            for (double number : hostileNumbers) {
                QVariantList every = valid;
                for (int i = 0; i < valid.size(); ++i) {
                    if (valid[i].userType() != QMetaType::Double)
                        continue;
                    QVariantList args = valid;
                    args[i] = every[i] = number;
                    QTest::addRow("%s arg%d=%g", method.data(), i, number)
                            << Calls {{method, args}} << QByteArrayList {clear};
                }
                QTest::addRow("%s every number=%g", method.data(), number)
                        << Calls {{method, every}} << QByteArrayList {clear};
            }
            for (const QString &key : shapeKeys)
                for (const QVariant &value : hostileValues)
                    if (valid.last().userType() == QMetaType::QVariantMap)
                        QTest::addRow("%s own %s=%s", method.data(), qPrintable(key),
                                      named(value).constData())
                                << Calls {{method, valid.mid(0, 4) << QVariantMap {{key, value}}}}
                                << QByteArrayList {clear};
            for (const QString &boxId : {QString(""), QString(512 * 1024, 'M')})
                if (valid.first().userType() == QMetaType::QString)
                    QTest::addRow("%s boxId of %d", method.data(), int(boxId.size()))
                            << Calls {{method, QVariantList {boxId} + valid.mid(1)}}
                            << QByteArrayList {clear};
        }

        // Map methods: each key with each hostile value, absent boxIds, and for styles dashed
        // pens of absurd widths (the stroker must neither hang nor crash).
        for (const auto &[method, boxId, keys] : mapMethods) {
            const QVariantList id = boxId.isNull() ? QVariantList() : QVariantList {boxId};
            for (const QString &key : keys)
                for (const QVariant &value : hostileValues)
                    QTest::addRow("%s %s=%s", method.data(), qPrintable(key),
                                  named(value).constData())
                            << Calls {{method, id + QVariantList {QVariantMap {{key, value}}}}}
                            << QByteArrayList();
            if (!boxId.isNull())
                QTest::addRow("%s absent boxId", method.data())
                        << Calls {{method, {"absent", QVariantMap {{keys.first(), true}}}}}
                        << QByteArrayList();
            for (int style = Qt::DashLine; style <= Qt::CustomDashLine; ++style)
                for (const QVariant &width : {QVariant(INT_MAX), QVariant(INT_MIN), QVariant(-1),
                                              QVariant(100000), QVariant(1e300)})
                    if (keys.contains("style"))
                        QTest::addRow("%s style=%d width=%s", method.data(), style,
                                      named(width).constData())
                                << Calls {{method,
                                           {QVariantMap {{"style", style}, {"width", width}}}}}
                                << QByteArrayList();
        }
        QTest::newRow("setBoxDVIFillColor invalid")
                << Calls {{"setBoxDVIFillColor", {QColor()}}} << QByteArrayList();

        // Regressions: NaN label positions reached Qt's fixed-point text layout; Qt's dash
        // stroker never returned on dashed outlines far away (markers take the pen that the
        // parameter boxes leave).
        QTest::newRow("NaN label position")
                << Calls {{"addBoxF", {"nan", notANumber, 20.0, 100.0, 50.0, 2.0}},
                          {"addBoxDVIF", {"nan", 20.0, notANumber, 100.0, 50.0, 2.0}},
                          {"addBoxSimpleF", {"nan", notANumber, notANumber, 100.0, 50.0}}}
                << QByteArrayList {"clearBoxF", "clearBoxDVIF", "clearBoxSimpleF"};
        const QVariantList dashed = {
                QVariantMap {{"style", 2}, {"width", 32767}, {"brushColor", 7}}};
        QTest::newRow("far dashed outlines")
                << Calls {{"setBoxStyle", dashed},
                          {"setLineStyle", dashed},
                          {"setEllipseStyle", dashed},
                          {"addBoxF", {"far", -5e299, -5e299, 1e300, 1e300, 1e299}},
                          {"addBoxDVIF", {"far", -5e299, -5e299, 1e300, 1e300, 1e298}},
                          {"addLineF", {-1e300, 1e300, 1e300, -1e300, QVariantMap()}},
                          {"addEllipseF", {-1e9, -1e9, 2e9, 2e9, QVariantMap()}}}
                << QByteArrayList {"clearBoxF", "clearBoxDVIF", "clearLineF", "clearEllipseF"};
    }

    void validRecordsSurvive()
    {
        QFETCH(Calls, calls);
        QFETCH(QByteArrayList, clears);

        TestItem item;
        setValidRecords(item, {});
        for (const auto &[method, args] : calls)
            invoke(&item, method, args);
        // Hostile boxes get sides picked too, then the hostile state paints.
        run(&item,
            "updateAllBoxF {topBorder:1, leftBorder:1};"
            "updateAllBoxDVIF {topBorder:1, leftBorder:1}");
        paintAll(item);
        QVERIFY(item.fillColor().isValid());

        setValidRecords(item, clears.isEmpty() ? QByteArrayList {"none"} : clears);
        QVERIFY(paintAll(item) == m_valid);
    }
};

QTEST_MAIN(tst_HostileInput)
#include "tst_hostile_input.moc"
