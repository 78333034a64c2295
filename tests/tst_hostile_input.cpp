#include "recording_paint_device.h"
#include "test_item.h"

#include <QtTest/QtTest>

#include <chrono>
#include <climits>
#include <condition_variable>
#include <functional>
#include <limits>
#include <mutex>
#include <thread>

// Whatever a QML script computes reaches the item: each row makes one hostile
// call on an item that holds valid records of every family, paints it, and
// checks that the valid records are still there and paint as before.

using HostileCall = std::function<void(Bll_Painted_Item &)>;
Q_DECLARE_METATYPE(HostileCall)

namespace {

// Ends the run when a row does not return in time: a guard against hangs, not a
// speed check (speed is the benchmarks' business).
class HangGuard
{
public:
    HangGuard() : m_watcher([this] { watch(); }) { }
    ~HangGuard()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_finished.notify_one();
        m_watcher.join();
    }

private:
    void watch()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_finished.wait_for(lock, std::chrono::seconds(20), [this] { return m_done; }))
            qFatal("Hang: row \"%s\" did not return within 20 s", QTest::currentDataTag());
    }

    std::mutex m_mutex;
    std::condition_variable m_finished;
    bool m_done = false;
    std::thread m_watcher;
};

const double notANumber = std::numeric_limits<double>::quiet_NaN();
const double infinity = std::numeric_limits<double>::infinity();

const QVector<QPair<const char *, double>> hostileNumbers = {
        {"nan", notANumber},          {"+inf", infinity},
        {"-inf", -infinity},          {"+1e300", 1e300},
        {"-1e300", -1e300},           {"INT_MAX+1", 2147483648.0},
        {"INT_MIN-1", -2147483649.0}, {"zero", 0.0},
        {"negative", -25.0},
};

const QVector<QPair<const char *, QVariant>> &hostileValues()
{
    static const QVector<QPair<const char *, QVariant>> values = {
            {"invalid", QVariant()},
            {"list", QVariantList {7, QStringLiteral("red")}},
            {"map", QVariantMap {{QStringLiteral("color"), 7}}},
            {"nan", notANumber},
            {"inf", infinity},
            {"1e300", 1e300},
            {"-1e300", -1e300},
            {"2.7", 2.7},
            {"-1", -1},
            {"20", 20},
            {"24", 24},
            {"INT_MAX", INT_MAX},
            {"INT_MIN", INT_MIN},
            {"qlonglong", QVariant::fromValue(qlonglong(1) << 40)},
            {"word", QStringLiteral("no colour")},
            {"long string", QString(100000, QLatin1Char('#'))},
            {"invalid QColor", QColor()},
    };
    return values;
}

const QString &megabyteId()
{
    static const QString id(512 * 1024, QLatin1Char('M')); // 1 MB of UTF-16
    return id;
}

QVariantMap map(std::initializer_list<std::pair<const char *, QVariant>> entries)
{
    QVariantMap result;
    for (const auto &entry : entries)
        result.insert(QString::fromLatin1(entry.first), entry.second);
    return result;
}

// One record of each kind, and one hovered simple box.
void addValidRecords(Bll_Painted_Item &item)
{
    item.addRectF(5, 5, 40, 30, map({{"color", 7}}));
    item.addRectF(50, 5, 30, 30);
    item.addLineF(5, 60, 60, 90);
    item.addLineF(60, 90, 90, 60, map({{"width", 3}}));
    item.addEllipseF(100, 5, 40, 30, map({{"brushColor", QStringLiteral("#00ff00")}}));
    item.addBoxF(QStringLiteral("param"), 10, 100, 100, 50, 4);
    item.addBoxDVIF(QStringLiteral("dvi"), 120, 100, 100, 50, 2);
    item.addBoxSimpleF(QStringLiteral("simple"), 10, 160, 100, 50);
    item.addBoxSimpleF(QStringLiteral("hovered"), 120, 160, 100, 50);
}

// Sets every style key and every state of the valid records, so that whatever a
// hostile style or option call changed is set back.
void setValidStylesAndStates(Bll_Painted_Item &item)
{
    const QVariantMap common = map({{"style", 1}, {"width", 2}, {"color", 2}, {"brushColor", 10}});
    item.setRectStyle(common);
    item.setLineStyle(common);
    item.setEllipseStyle(common);
    item.setBoxDVIStyle(common);
    item.setBoxStyle(map({{"style", 1},
                          {"width", 1},
                          {"color", 9},
                          {"textColor", 2},
                          {"fillColor", 3},
                          {"brushColor", 12},
                          {"pickBorderColor", 13},
                          {"paramBorderColor", 14},
                          {"pickParamBorderColor", 15}}));
    item.setBoxSimpleStyle(map({{"style", 1},
                                {"width", 1},
                                {"color", 2},
                                {"textColor", 7},
                                {"fillColor", 3},
                                {"brushColor", 16},
                                {"isHoverColor", 17},
                                {"isSelectedColor", 18}}));

    // Parameter box sides: top carries a parameter, bottom plain, left picked,
    // right picked with a parameter: all four brushes in use.
    item.updateAllBoxF(map({{"topBorder", true},
                            {"bottomBorder", false},
                            {"leftBorder", false},
                            {"rightBorder", false}}));
    item.updateAllBoxParamF(map({{"currentParam", 1.0}}));
    item.updateBoxParamF(map({{"currentParam", 2.5}}));
    item.updateAllBoxF(map({{"topBorder", false}, {"rightBorder", true}}));
    item.updateBoxParamF(map({{"currentParam", 3.0}}));
    item.updateAllBoxF(map({{"leftBorder", true}}));

    item.updateAllBoxDVIF(map({{"showText", true},
                               {"showBorder", true},
                               {"topBorder", true},
                               {"bottomBorder", true},
                               {"leftBorder", true},
                               {"rightBorder", true}}));
    item.updateBoxSimpleF(QStringLiteral("simple"),
                          map({{"isHover", false}, {"isSelected", false}}));
    item.updateBoxSimpleF(QStringLiteral("hovered"),
                          map({{"isHover", true}, {"isSelected", false}}));
}

void paintAll(TestItem &item, QPainter *painter)
{
    item.paint(painter);
    item.paintRect(painter);
    item.paintLine(painter);
    item.paintEllipse(painter);
}

QImage render(TestItem &item)
{
    QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintAll(item, &painter);
    return image;
}

QVector<DrawCall> record(TestItem &item)
{
    RecordingPaintDevice device(QSize(256, 256));
    QPainter painter(&device);
    paintAll(item, &painter);
    painter.end();
    return device.calls();
}

// The painter's font matters to text only: a box family inherits the font the
// previous family's last label left, which a hostile box may have set.
bool sameCall(const DrawCall &a, const DrawCall &b)
{
    return a.kind == b.kind && a.points == b.points && a.polygonMode == b.polygonMode
            && a.rect == b.rect && a.rectF == b.rectF && a.line == b.line && a.lineF == b.lineF
            && a.text == b.text && a.textFont == b.textFont && a.textOrigin == b.textOrigin
            && a.pen == b.pen && a.brush == b.brush
            && (a.kind != DrawCall::Text || a.font == b.font);
}

// The line path runs through every line's end point: lines added later extend it.
bool pathExtends(const DrawCall &longer, const DrawCall &base)
{
    if (longer.kind != DrawCall::Path || longer.pen != base.pen || longer.brush != base.brush
        || longer.path.elementCount() < base.path.elementCount())
        return false;
    for (int i = 0; i < base.path.elementCount(); ++i) {
        const QPainterPath::Element a = longer.path.elementAt(i), b = base.path.elementAt(i);
        if (a.type != b.type || a.x != b.x || a.y != b.y)
            return false;
    }
    return true;
}

// Index of the first base call missing from the calls in order, or -1 when
// every base call is there (records added by the row may draw in between).
int firstMissingCall(const QVector<DrawCall> &calls, const QVector<DrawCall> &base)
{
    int next = 0;
    for (int i = 0; i < base.size(); ++i) {
        const bool isPath = base[i].kind == DrawCall::Path;
        while (next < calls.size()
               && !(isPath ? pathExtends(calls[next], base[i]) : sameCall(calls[next], base[i])))
            ++next;
        if (next == calls.size())
            return i;
        ++next;
    }
    return -1;
}

} // namespace

class tst_HostileInput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void validRecordsSurvive_data();
    void validRecordsSurvive();
    void labelOutsideTextRange_data();
    void labelOutsideTextRange();
    void dashedOutlineFarAway_data();
    void dashedOutlineFarAway();

private:
    QVector<DrawCall> m_baseCalls;
    QImage m_baseImage;
    QColor m_baseFill;
};

void tst_HostileInput::initTestCase()
{
    TestItem item;
    addValidRecords(item);
    setValidStylesAndStates(item);
    m_baseCalls = record(item);
    m_baseImage = render(item);
    m_baseFill = item.fillColor();
    // The baseline must draw every kind of record, or the rows would prove little.
    const auto count = [this](DrawCall::Kind kind) {
        return std::count_if(m_baseCalls.cbegin(), m_baseCalls.cend(),
                             [kind](const DrawCall &call) { return call.kind == kind; });
    };
    QCOMPARE(count(DrawCall::Text), 4);
    QCOMPARE(count(DrawCall::Path), 1);
    for (DrawCall::Kind kind :
         {DrawCall::Polygon, DrawCall::Rect, DrawCall::Ellipse, DrawCall::Line})
        QVERIFY2(count(kind) > 0, drawCallKindName(kind));
}

void tst_HostileInput::validRecordsSurvive_data()
{
    QTest::addColumn<HostileCall>("call");
    QTest::addColumn<bool>("addsRecords");
    const QString hostileId = QStringLiteral("hostile");

    // Geometry: every argument of every add method, one at a time and all at once.
    struct AddMethod
    {
        const char *name;
        QVector<double> valid;
        std::function<void(Bll_Painted_Item &, const QVector<double> &)> add;
    };
    const QVector<AddMethod> addMethods = {
            {"addRectF",
             {20, 20, 30, 30},
             [](Bll_Painted_Item &item, const QVector<double> &a) {
                 item.addRectF(a[0], a[1], a[2], a[3]);
             }},
            {"addLineF",
             {20, 20, 30, 30},
             [](Bll_Painted_Item &item, const QVector<double> &a) {
                 item.addLineF(a[0], a[1], a[2], a[3], map({{"style", 2}}));
             }},
            {"addEllipseF",
             {20, 20, 30, 30},
             [](Bll_Painted_Item &item, const QVector<double> &a) {
                 item.addEllipseF(a[0], a[1], a[2], a[3], map({{"brushColor", 7}}));
             }},
            {"addBoxF",
             {30, 30, 60, 40, 3},
             [hostileId](Bll_Painted_Item &item, const QVector<double> &a) {
                 item.addBoxF(hostileId, a[0], a[1], a[2], a[3], a[4]);
                 item.updateBoxF(hostileId, map({{"topBorder", true}}));
             }},
            {"addBoxDVIF",
             {30, 30, 60, 40, 3},
             [hostileId](Bll_Painted_Item &item, const QVector<double> &a) {
                 item.addBoxDVIF(hostileId, a[0], a[1], a[2], a[3], a[4]);
                 item.updateBoxDVIF(hostileId, map({{"leftBorder", true}, {"topBorder", true}}));
             }},
            {"addBoxSimpleF",
             {30, 30, 60, 40},
             [hostileId](Bll_Painted_Item &item, const QVector<double> &a) {
                 item.addBoxSimpleF(hostileId, a[0], a[1], a[2], a[3]);
             }},
    };
    for (const AddMethod &method : addMethods) {
        for (const auto &number : hostileNumbers) {
            for (int arg = 0; arg <= method.valid.size(); ++arg) {
                QVector<double> args = method.valid;
                if (arg < args.size())
                    args[arg] = number.second;
                else
                    args.fill(number.second); // every argument at once
                const auto add = method.add;
                const QByteArray argument = arg < args.size() ? "arg" + QByteArray::number(arg)
                                                              : QByteArray("every arg");
                QTest::addRow("%s %s=%s", method.name, argument.constData(), number.first)
                        << HostileCall([add, args](Bll_Painted_Item &item) { add(item, args); })
                        << true;
            }
        }
    }
    for (double border : {100.0, -100.0, 1e6, 1e300}) {
        QTest::addRow("addBoxF border %g wider than the box", border)
                << HostileCall([=](Bll_Painted_Item &item) {
                       item.addBoxF(hostileId, 30, 30, 50, 40, border);
                       item.updateBoxF(hostileId, map({{"leftBorder", true}}));
                   })
                << true;
        QTest::addRow("addBoxDVIF border %g wider than the box", border)
                << HostileCall([=](Bll_Painted_Item &item) {
                       item.addBoxDVIF(hostileId, 30, 30, 50, 40, border);
                       item.updateAllBoxDVIF(map({{"topBorder", true}, {"rightBorder", true}}));
                   })
                << true;
    }

    // Identifiers: empty and 1 MB, as new boxes and as look-ups of absent ones.
    const QVector<QPair<const char *, QString>> ids = {{"empty", QString()}, {"1MB", megabyteId()}};
    for (const auto &id : ids) {
        const QString boxId = id.second;
        QTest::addRow("addBoxF id %s", id.first) << HostileCall([boxId](Bll_Painted_Item &item) {
            item.addBoxF(boxId, 20, 20, 200, 60, 3);
        }) << true;
        QTest::addRow("addBoxDVIF id %s", id.first) << HostileCall([boxId](Bll_Painted_Item &item) {
            item.addBoxDVIF(boxId, 20, 20, 200, 60, 3);
        }) << true;
        QTest::addRow("addBoxSimpleF id %s", id.first) << HostileCall(
                [boxId](Bll_Painted_Item &item) { item.addBoxSimpleF(boxId, 20, 20, 200, 60); })
                                                       << true;
        QTest::addRow("updates of absent id %s", id.first) << HostileCall(
                [boxId](Bll_Painted_Item &item) {
                    const QVariantMap all =
                            map({{"topBorder", true}, {"showText", false}, {"isSelected", true}});
                    QCOMPARE(item.updateBoxF(boxId, all), 1.0);
                    item.updateBoxDVIF(boxId, all);
                    item.updateBoxSimpleF(boxId, all);
                }) << false;
    }

    // Style maps: every key each setter takes, with every hostile value.
    using Setter = void (Bll_Painted_Item::*)(const QVariantMap &);
    const QStringList common = {QStringLiteral("style"), QStringLiteral("width"),
                                QStringLiteral("color"), QStringLiteral("brushColor")};
    const QStringList boxKeys = common
            + QStringList {QStringLiteral("textColor"), QStringLiteral("fillColor"),
                           QStringLiteral("pickBorderColor"), QStringLiteral("paramBorderColor"),
                           QStringLiteral("pickParamBorderColor")};
    const QStringList simpleKeys = common
            + QStringList {QStringLiteral("textColor"), QStringLiteral("fillColor"),
                           QStringLiteral("isHoverColor"), QStringLiteral("isSelectedColor")};
    const QVector<std::tuple<const char *, Setter, QStringList>> setters = {
            {"setRectStyle", &Bll_Painted_Item::setRectStyle, common},
            {"setLineStyle", &Bll_Painted_Item::setLineStyle, common},
            {"setEllipseStyle", &Bll_Painted_Item::setEllipseStyle, common},
            {"setBoxDVIStyle", &Bll_Painted_Item::setBoxDVIStyle, common},
            {"setBoxStyle", &Bll_Painted_Item::setBoxStyle, boxKeys},
            {"setBoxSimpleStyle", &Bll_Painted_Item::setBoxSimpleStyle, simpleKeys},
    };
    for (const auto &[name, setter, keys] : setters) {
        for (const QString &key : keys) {
            for (const auto &value : hostileValues()) {
                const QVariantMap style {{key, value.second}};
                const Setter set = setter;
                QTest::addRow("%s %s=%s", name, qPrintable(key), value.first)
                        << HostileCall([=](Bll_Painted_Item &item) { (item.*set)(style); })
                        << false;
            }
        }
        // Dashed pens of absurd widths: the stroker must neither hang nor crash.
        for (int penStyle = Qt::DashLine; penStyle <= Qt::CustomDashLine; ++penStyle) {
            for (const QVariant &width : {QVariant(INT_MAX), QVariant(INT_MIN), QVariant(-1),
                                          QVariant(100000), QVariant(1e300)}) {
                const QVariantMap style = map({{"style", penStyle}, {"width", width}});
                const Setter set = setter;
                QTest::addRow("%s style=%d width=%s", name, penStyle, qPrintable(width.toString()))
                        << HostileCall([=](Bll_Painted_Item &item) { (item.*set)(style); })
                        << false;
            }
        }
    }
    QTest::newRow("setBoxDVIFillColor invalid")
            << HostileCall([](Bll_Painted_Item &item) { item.setBoxDVIFillColor(QColor()); })
            << false;

    // A shape's own style map with every hostile value.
    for (const QString &key : common) {
        for (const auto &value : hostileValues()) {
            const QVariantMap style {{key, value.second}};
            QTest::addRow("addRectF own %s=%s", qPrintable(key), value.first) << HostileCall(
                    [style](Bll_Painted_Item &item) { item.addRectF(20, 20, 30, 30, style); })
                                                                              << true;
            QTest::addRow("addLineF own %s=%s", qPrintable(key), value.first) << HostileCall(
                    [style](Bll_Painted_Item &item) { item.addLineF(20, 20, 50, 50, style); })
                                                                              << true;
            QTest::addRow("addEllipseF own %s=%s", qPrintable(key), value.first) << HostileCall(
                    [style](Bll_Painted_Item &item) { item.addEllipseF(20, 20, 30, 30, style); })
                                                                                 << true;
        }
    }

    // Option maps of the update methods, on the valid boxes.
    using Update = std::function<void(Bll_Painted_Item &, const QVariantMap &)>;
    const QVector<std::tuple<const char *, Update, QStringList>> updates = {
            {"updateBoxF",
             [](Bll_Painted_Item &item, const QVariantMap &m) {
                 item.updateBoxF(QStringLiteral("param"), m);
             },
             {"topBorder", "bottomBorder", "leftBorder", "rightBorder"}},
            {"updateAllBoxF",
             [](Bll_Painted_Item &item, const QVariantMap &m) { item.updateAllBoxF(m); },
             {"topBorder", "bottomBorder", "leftBorder", "rightBorder"}},
            {"updateBoxParamF",
             [](Bll_Painted_Item &item, const QVariantMap &m) { item.updateBoxParamF(m); },
             {"currentParam"}},
            {"updateAllBoxParamF",
             [](Bll_Painted_Item &item, const QVariantMap &m) { item.updateAllBoxParamF(m); },
             {"currentParam"}},
            {"updateBoxDVIF",
             [](Bll_Painted_Item &item, const QVariantMap &m) {
                 item.updateBoxDVIF(QStringLiteral("dvi"), m);
             },
             {"showText", "showBorder", "topBorder", "bottomBorder", "leftBorder", "rightBorder"}},
            {"updateAllBoxDVIF",
             [](Bll_Painted_Item &item, const QVariantMap &m) { item.updateAllBoxDVIF(m); },
             {"showText", "showBorder", "topBorder", "bottomBorder", "leftBorder", "rightBorder"}},
            {"updateBoxSimpleF",
             [](Bll_Painted_Item &item, const QVariantMap &m) {
                 item.updateBoxSimpleF(QStringLiteral("simple"), m);
             },
             {"isHover", "isSelected"}},
    };
    for (const auto &[name, update, keys] : updates) {
        for (const QString &key : keys) {
            for (const auto &value : hostileValues()) {
                const QVariantMap options {{key, value.second}};
                const Update apply = update;
                QTest::addRow("%s %s=%s", name, qPrintable(key), value.first)
                        << HostileCall([=](Bll_Painted_Item &item) { apply(item, options); })
                        << false;
            }
        }
    }
}

void tst_HostileInput::validRecordsSurvive()
{
    QFETCH(HostileCall, call);
    QFETCH(bool, addsRecords);

    TestItem item;
    addValidRecords(item);
    setValidStylesAndStates(item);

    HangGuard guard;
    call(item);
    QVERIFY(item.fillColor().isValid());
    render(item); // the hostile state itself, into a real raster image

    setValidStylesAndStates(item);
    const QVector<DrawCall> calls = record(item);
    const int missing = firstMissingCall(calls, m_baseCalls);
    QVERIFY2(missing < 0,
             qPrintable(QStringLiteral("valid draw call %1 (%2) lost")
                                .arg(missing)
                                .arg(QLatin1String(
                                        drawCallKindName(m_baseCalls.value(missing).kind)))));
    QCOMPARE(item.fillColor(), m_baseFill);
    if (!addsRecords) {
        QCOMPARE(calls.size(), m_baseCalls.size());
        QVERIFY(render(item) == m_baseImage);
    }
}

// Qt's text layout turns a label's position into fixed point: NaN came out as
// INT_MIN / 64, an undefined conversion. Such labels must not reach Qt, while a
// box centred on screen keeps its label however far its edges reach.
void tst_HostileInput::labelOutsideTextRange_data()
{
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<bool>("labelled");
    QTest::newRow("x nan") << QRectF(notANumber, 20, 100, 50) << false;
    QTest::newRow("y nan") << QRectF(20, notANumber, 100, 50) << false;
    QTest::newRow("x -inf") << QRectF(-infinity, 20, 100, 50) << false;
    QTest::newRow("width +inf") << QRectF(20, 20, infinity, 50) << false;
    QTest::newRow("centre past 2^23") << QRectF(8388600, 20, 100, 50) << false;
    QTest::newRow("edges at -1e300 and 0") << QRectF(-1e300, 20, 1e300, 50) << false;
    QTest::newRow("edges at +-5e7, centred") << QRectF(-5e7, 20, 1e8, 50) << true;
    QTest::newRow("edges at +-1e300, centred") << QRectF(-1e300, 20, 2e300, 50) << false;
}

void tst_HostileInput::labelOutsideTextRange()
{
    QFETCH(QRectF, box);
    QFETCH(bool, labelled);

    TestItem item;
    item.addBoxF(QStringLiteral("param"), box.x(), box.y(), box.width(), box.height(), 2);
    item.addBoxDVIF(QStringLiteral("dvi"), box.x(), box.y(), box.width(), box.height(), 2);
    item.addBoxSimpleF(QStringLiteral("simple"), box.x(), box.y(), box.width(), box.height());
    RecordingPaintDevice device(QSize(256, 256));
    QPainter painter(&device);
    item.paint(&painter);
    painter.end();

    QCOMPARE(device.calls(DrawCall::Text).size(), labelled ? 3 : 0);
    QVERIFY(!device.calls(DrawCall::Polygon).isEmpty()); // the bands are drawn all the same
}

// Qt's dash stroker never ends once a dash is shorter than the spacing of doubles
// at the shape's coordinates (seen from 1e18 on); far outlines are stroked solid.
void tst_HostileInput::dashedOutlineFarAway_data()
{
    QTest::addColumn<HostileCall>("call");
    for (int dash = Qt::DashLine; dash <= Qt::DashDotDotLine; ++dash) {
        const QVariantMap pen = map({{"style", dash}, {"width", 32767}, {"brushColor", 7}});
        QTest::addRow("bands, pen style %d", dash) << HostileCall([pen](Bll_Painted_Item &item) {
            item.setBoxStyle(pen);
            item.addBoxF(QStringLiteral("far"), -5e299, -5e299, 1e300, 1e300, 1e299);
        });
        // The markers take the pen that the parameter boxes leave on the painter.
        QTest::addRow("markers, pen style %d", dash) << HostileCall([pen](Bll_Painted_Item &item) {
            item.setBoxStyle(pen);
            item.addBoxF(QStringLiteral("near"), 10, 10, 50, 50, 2);
            item.addBoxDVIF(QStringLiteral("far"), -5e299, -5e299, 1e300, 1e300, 1e298);
            item.updateAllBoxDVIF(map({{"topBorder", true}, {"leftBorder", true}}));
        });
        QTest::addRow("line path, pen style %d", dash)
                << HostileCall([pen](Bll_Painted_Item &item) {
                       item.setLineStyle(pen);
                       item.addLineF(0, 0, 10, 10);
                       item.addLineF(0, 0, 1e300, -1e300);
                       item.addLineF(0, 0, -1e300, 1e300);
                   });
        QTest::addRow("ellipse, pen style %d", dash) << HostileCall([pen](Bll_Painted_Item &item) {
            item.setEllipseStyle(pen);
            item.addEllipseF(-1e9, -1e9, 2e9, 2e9);
        });
    }
}

void tst_HostileInput::dashedOutlineFarAway()
{
    QFETCH(HostileCall, call);

    TestItem item;
    call(item);
    {
        HangGuard guard;
        render(item);
    }
    for (const DrawCall &drawn : record(item)) {
        const QRectF bounds = drawn.kind == DrawCall::Polygon ? drawn.points.boundingRect()
                : drawn.kind == DrawCall::Path                ? drawn.path.controlPointRect()
                                                              : QRectF();
        if (qMax(qAbs(bounds.left()), qAbs(bounds.right())) > 1e18)
            QCOMPARE(drawn.pen.style(), Qt::SolidLine);
        else if (!bounds.isNull())
            QVERIFY(drawn.pen.style() != Qt::SolidLine); // near shapes keep their dashes
    }
}

QTEST_MAIN(tst_HostileInput)
#include "tst_hostile_input.moc"
