// libFuzzer harness: turns bytes into a sequence of the item's invokable calls and of
// BllBoxes' (read back, remove, bulk states), made through the meta-object as QML makes them,
// with frames painted in between
// as Qt Quick paints them and the accessible tree read as a screen reader reads it; then paints
// the item through all six painters. Any
// crash, sanitizer report, leak or hang is a finding, and so is a frame that
// differs from a full repaint of the same calls by an item never painted before.

#include "bll_painted_item.h"
#include "bll_painted_item_accessibility.h"
#include "bll_painted_item_boxes.h"

#include <QtCore/QMetaMethod>
#include <QtGui/QAccessible>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

namespace {

class FuzzItem : public Bll_Painted_Item
{
public:
    using Bll_Painted_Item::paint;
    void paintEverything(QPainter *painter)
    {
        paint(painter);
        paintRect(painter);
        paintLine(painter);
        paintEllipse(painter);
    }
};

constexpr int invokableCount = 30;
constexpr int maxCallsPerInput = 64;
constexpr int maxMapDepth = 2;

// Every key the item reads from a style or option map.
const char *const knownKeys[] = {
        "style",
        "width",
        "color",
        "brushColor",
        "textColor",
        "fillColor",
        "pickBorderColor",
        "paramBorderColor",
        "pickParamBorderColor",
        "isHoverColor",
        "isSelectedColor",
        "topBorder",
        "bottomBorder",
        "leftBorder",
        "rightBorder",
        "currentParam",
        "showText",
        "showBorder",
        "isHover",
        "isSelected",
        "topParam",
};

const char *const familyNames[] = {"parameter", "dvi", "simple", "Simple"};

const char *const colourNames[] = {"red", "#00ff00", "#80ff0000", "#fff",   "transparent",
                                   "",    "#",       "nocolour",  "#12345", "#ff00ff00ff"};

double consumeDouble(FuzzedDataProvider &data)
{
    static const double special[] = {
            std::numeric_limits<double>::quiet_NaN(),
            std::numeric_limits<double>::infinity(),
            -std::numeric_limits<double>::infinity(),
            1e300,
            -1e300,
            2147483648.0,
            -2147483649.0,
            327680.0,
            std::numeric_limits<double>::denorm_min(),
            -0.0,
            1.0,
            10.0,
            10.5,
    };
    switch (data.ConsumeIntegralInRange(0, 3)) {
    case 0: { // any bit pattern
        const auto bits = data.ConsumeIntegral<quint64>();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    case 1:
        return data.PickValueInArray(special);
    case 2:
        return data.ConsumeIntegralInRange(-50, 300) + data.ConsumeIntegralInRange(0, 3) / 4.0;
    default:
        return data.ConsumeFloatingPoint<double>();
    }
}

QString consumeString(FuzzedDataProvider &data)
{
    QString text = QString::fromUtf8(data.ConsumeRandomLengthString(64).c_str());
    // Now and then a long one, for the label layout.
    if (data.ConsumeIntegralInRange(0, 15) == 0 && !text.isEmpty())
        text = text.repeated(4096 / text.size() + 1);
    return text;
}

QColor consumeColor(FuzzedDataProvider &data)
{
    switch (data.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return QColor();
    case 1:
        return QColor(QString::fromLatin1(data.PickValueInArray(colourNames)));
    default:
        return QColor::fromRgba(data.ConsumeIntegral<quint32>());
    }
}

QVariantMap consumeMap(FuzzedDataProvider &data, int depth);

QVariant consumeVariant(FuzzedDataProvider &data, int depth)
{
    // Colour numbers past Qt::GlobalColor, pen styles, and pen widths up to QPen's largest.
    static const int specialInts[] = {-1, 20, 24, INT_MAX, INT_MIN, 0,   1,     2,
                                      3,  4,  5,  6,       7,       100, 32767, 32768};
    switch (data.ConsumeIntegralInRange(0, 12)) {
    case 0:
        return QVariant();
    case 1:
        return data.ConsumeIntegralInRange(0, 19);
    case 2:
        return data.PickValueInArray(specialInts);
    case 3:
        return data.ConsumeIntegral<int>();
    case 4:
        return consumeDouble(data);
    case 5:
        return data.ConsumeBool();
    case 6:
        return QString::fromLatin1(data.PickValueInArray(colourNames));
    case 7:
        return consumeString(data);
    case 8:
        return consumeColor(data);
    case 9:
        return QVariant::fromValue(data.ConsumeIntegral<qlonglong>());
    case 10:
        return QVariant::fromValue(data.ConsumeIntegral<uint>());
    case 11:
        if (depth < maxMapDepth)
            return QVariantList {consumeVariant(data, depth + 1), consumeVariant(data, depth + 1)};
        return QVariantList();
    default:
        return depth < maxMapDepth ? QVariant(consumeMap(data, depth + 1))
                                   : QVariant(QVariantMap());
    }
}

QVariantMap consumeMap(FuzzedDataProvider &data, int depth)
{
    QVariantMap map;
    const int entries = data.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < entries; ++i) {
        const QString key = data.ConsumeBool()
                ? QString::fromLatin1(data.PickValueInArray(knownKeys))
                : QString::fromUtf8(data.ConsumeRandomLengthString(24).c_str());
        map.insert(key, consumeVariant(data, depth));
    }
    return map;
}

// One invokable call: the method and its arguments, as their own types. A call of BllBoxes
// takes the item as its first argument, which stands empty here.
struct Call
{
    QMetaMethod method;
    QVariantList arguments;
    bool ofBoxes = false;
};

// Builds the arguments of one method from the bytes.
Call consumeCall(const QMetaMethod &method, FuzzedDataProvider &data, bool ofBoxes = false)
{
    Call call {method, {}, ofBoxes};
    for (int i = 0; i < method.parameterCount(); ++i) {
        if (ofBoxes && i == 0) {
            call.arguments << QVariant();
            continue;
        }
        if (ofBoxes && i == 1 && method.parameterType(i) == QMetaType::QString) {
            call.arguments << QString::fromLatin1(data.PickValueInArray(familyNames));
            continue;
        }
        switch (method.parameterType(i)) {
        case QMetaType::QVariant: // one boxId or a list, or whatever a script passes
            call.arguments << (data.ConsumeBool() ? QVariant(consumeString(data))
                                                  : consumeVariant(data, 0));
            break;
        case QMetaType::Double:
            call.arguments << consumeDouble(data);
            break;
        case QMetaType::QString:
            call.arguments << consumeString(data);
            break;
        case QMetaType::QVariantMap:
            call.arguments << consumeMap(data, 0);
            break;
        case QMetaType::QColor:
            call.arguments << consumeColor(data);
            break;
        default:
            std::abort(); // a parameter type this harness does not know
        }
    }
    return call;
}

// Invokes the call through the meta-object, as QML does (so the generated dispatch is
// exercised too).
void invoke(Bll_Painted_Item &item, const Call &call)
{
    QVariantList values = call.arguments;
    QGenericArgument arguments[10];
    for (int i = 0; i < values.size(); ++i) {
        if (call.method.parameterType(i) == QMetaType::QVariant) {
            if (call.ofBoxes && i == 0)
                values[i] = QVariant::fromValue<QObject *>(&item);
            arguments[i] = QGenericArgument("QVariant", &values[i]);
        } else {
            arguments[i] = QGenericArgument(values[i].typeName(), values[i].constData());
        }
    }
    BllBoxes boxes;
    double number = 0;
    int count = 0;
    QStringList ids;
    QVariant box;
    void *const answers[] = {&number, &count, &ids, &box};
    const int returnTypes[] = {QMetaType::Double, QMetaType::Int, QMetaType::QStringList,
                               QMetaType::QVariant};
    const int returnType = call.method.returnType();
    QGenericReturnArgument answer;
    for (int i = 0; i < 4; ++i) {
        if (returnType == returnTypes[i])
            answer = QGenericReturnArgument(call.method.typeName(), answers[i]);
    }
    const bool invoked = call.method.invoke(
            call.ofBoxes ? static_cast<QObject *>(&boxes) : &item, Qt::DirectConnection, answer,
            arguments[0], arguments[1], arguments[2], arguments[3], arguments[4], arguments[5],
            arguments[6], arguments[7], arguments[8], arguments[9]);
    if (!invoked)
        std::abort();
}

// One frame as Qt Quick paints one: the fill over the whole device, then the item's paint().
QImage frame(Bll_Painted_Item &item, QImage &device)
{
    QPainter painter(&device);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(device.rect(), item.fillColor());
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    (item.*(&FuzzItem::paint))(&painter);
    return device;
}

// A frame of the item, which repaints what changed since its last one, must be the frame that
// an item never painted before paints after the same calls.
void checkFrame(Bll_Painted_Item &item, QImage &device, const QVector<Call> &calls)
{
    Bll_Painted_Item fresh;
    for (const Call &call : calls)
        invoke(fresh, call);
    QImage freshDevice(device.size(), device.format());
    if (frame(item, device) != frame(fresh, freshDevice))
        std::abort();
}

// Everything a client may ask of the tree, the changes it hears sent first; the box at a point
// must be one of the children.
void readTree(Bll_Painted_Item &item, FuzzedDataProvider &data)
{
    QCoreApplication::processEvents();
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&item);
    const int count = iface->childCount();
    for (int i = 0; i < count; ++i) {
        QAccessibleInterface *box = iface->child(i);
        if (!box || iface->indexOfChild(box) != i || box->parent() != iface)
            std::abort();
        for (QAccessibleInterface *part : {box, box->child(0), box->child(3)}) {
            if (!part)
                continue;
            part->text(QAccessible::Name);
            part->text(QAccessible::Description);
            part->state();
            part->rect();
        }
    }
    const int x = data.ConsumeIntegral<int>(), y = data.ConsumeIntegral<int>();
    if (QAccessibleInterface *at = iface->childAt(x, y)) {
        if (iface->indexOfChild(at) < 0)
            std::abort();
        at->childAt(x, y);
    }
}

void silence(QtMsgType, const QMessageLogContext &, const QString &) { }

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(silence);
    static QGuiApplication application(*argc, *argv);
    BllAccessibility::install();
    const QMetaObject &meta = Bll_Painted_Item::staticMetaObject;
    if (meta.methodCount() - meta.methodOffset() != invokableCount)
        std::abort(); // the harness must learn the new method table first
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    Bll_Painted_Item item; // the item itself, as Qt Quick paints it
    QImage device(256, 256, QImage::Format_ARGB32_Premultiplied);
    QVector<Call> calls;
    const QMetaObject &meta = Bll_Painted_Item::staticMetaObject;

    const QMetaObject &boxes = BllBoxes::staticMetaObject;
    const int boxesCalls = boxes.methodCount() - boxes.methodOffset();

    for (int call = 0; call < maxCallsPerInput && data.remaining_bytes() > 0; ++call) {
        const int choice = data.ConsumeIntegralInRange(0, invokableCount + boxesCalls + 2);
        if (choice < invokableCount) {
            calls << consumeCall(meta.method(meta.methodOffset() + choice), data);
            invoke(item, calls.last());
        } else if (choice < invokableCount + boxesCalls) {
            calls << consumeCall(boxes.method(boxes.methodOffset() + choice - invokableCount), data,
                                 true);
            invoke(item, calls.last());
        } else if (choice == invokableCount + boxesCalls) {
            checkFrame(item, device, calls); // a scene repaints at any time
        } else if (choice == invokableCount + boxesCalls + 1) {
            readTree(item, data); // and a screen reader reads it at any time
        } else {
            Bll_Painted_Item::getTransformColor(consumeVariant(data, 0));
        }
    }
    checkFrame(item, device, calls);

    // All six painters, as a derived item calls them.
    FuzzItem derived;
    for (const Call &call : qAsConst(calls))
        invoke(derived, call);
    QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    derived.paintEverything(&painter);
    return 0;
}
