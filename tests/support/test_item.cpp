#include "test_item.h"

#include <bll_painted_item_boxes.h>

#include <QtCore/QLoggingCategory>
#include <QtCore/QMetaMethod>

#include <cstdio>

namespace {

// Calls `method` of `object` when it has one taking that many arguments.
bool invokeOn(QObject *object, const QByteArray &method, const QVariantList &args, double *result)
{
    const QMetaObject *meta = object->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        if (m.name() != method || m.parameterCount() != args.size())
            continue;
        QVariantList converted = args;
        QGenericArgument a[6];
        for (int p = 0; p < args.size(); ++p) {
            const int type = m.parameterType(p);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
            const QMetaType metaType(type);
#else
            const int metaType = type;
#endif
            // A QVariant parameter takes the value as it is; what does not convert to another
            // type arrives as the type's default value.
            if (type == QMetaType::QVariant) {
                a[p] = QGenericArgument("QVariant", &converted[p]);
                continue;
            }
            if (converted[p].userType() != type && !converted[p].convert(metaType))
                converted[p] = QVariant(metaType, nullptr);
            a[p] = QGenericArgument(m.parameterTypes().at(p).constData(), converted[p].constData());
        }
        *result = 0;
        const bool answers = m.returnType() == QMetaType::Double;
        if (!m.invoke(object, Qt::DirectConnection,
                      answers ? Q_RETURN_ARG(double, *result) : QGenericReturnArgument(), a[0],
                      a[1], a[2], a[3], a[4], a[5]))
            qFatal("%s could not be called", method.constData());
        return true;
    }
    return false;
}

} // namespace

double invoke(QObject *item, const QByteArray &method, const QVariantList &args)
{
    double result = 0;
    if (invokeOn(item, method, args, &result))
        return result;
    // BllBoxes' calls, the item first.
    BllBoxes boxes;
    if (invokeOn(&boxes, method, QVariantList {QVariant::fromValue(item)} + args, &result))
        return result;
    qFatal("no method %s with %d arguments", method.constData(), int(args.size()));
}

namespace {

// Splits at separator, except inside braces.
QStringList split(const QString &text, QChar separator)
{
    QStringList parts {QString()};
    int depth = 0;
    for (const QChar c : text) {
        depth += c == '{' || c == '[' ? 1 : c == '}' || c == ']' ? -1 : 0;
        if (c == separator && depth == 0)
            parts << QString();
        else
            parts.last() += c;
    }
    for (QString &part : parts)
        part = part.trimmed();
    parts.removeAll(QString());
    return parts;
}

} // namespace

QVariant scriptValue(const QString &token)
{
    if (token.startsWith('{')) {
        QVariantMap map;
        for (const QString &entry : split(token.mid(1, token.size() - 2), ','))
            map.insert(entry.section(':', 0, 0).trimmed(),
                       scriptValue(entry.section(':', 1).trimmed()));
        return map;
    }
    if (token.startsWith('[')) {
        QVariantList list;
        for (const QString &element : split(token.mid(1, token.size() - 2), ','))
            list << scriptValue(element);
        return list;
    }
    if (token.size() > 1 && token.startsWith('\'') && token.endsWith('\''))
        return token.mid(1, token.size() - 2);
    bool isNumber = false;
    const int integer = token.toInt(&isNumber);
    if (isNumber)
        return integer;
    const double number = token.toDouble(&isNumber);
    if (isNumber)
        return number;
    const QHash<QString, QVariant> words {
            {"true", true}, {"false", false}, {"nan", qQNaN()}, {"inf", qInf()}, {"-inf", -qInf()}};
    return words.value(token, token);
}

double run(QObject *item, const QString &script)
{
    double answer = 0;
    for (const QString &call : split(script, ';')) {
        QStringList tokens = split(call, ' ');
        const QByteArray method = tokens.takeFirst().toLatin1();
        QVariantList args;
        for (const QString &token : tokens)
            args << scriptValue(token);
        answer = invoke(item, method, args);
    }
    return answer;
}

QStringList painting(const QString &script, void (TestItem::*paint)(QPainter *))
{
    TestItem item;
    run(&item, script);
    const Painted painted = paintWith(item, paint, foundPen, foundBrush);
    QStringList texts = callTexts(painted.calls, true)
            << QStringLiteral("left %1, %2, %3 %4px")
                       .arg(penText(painted.pen), brushText(painted.brush), painted.font.family())
                       .arg(painted.font.pixelSize());
    return texts.replaceInStrings(penText(foundPen), "found pen")
            .replaceInStrings(brushText(foundBrush), "found brush");
}

FrameLog frameLog;

void countFrameLog()
{
    QLoggingCategory::setFilterRules(QStringLiteral("bll.painteditem.retained.debug=true"));
    qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
                if (QByteArray(context.category) == "bll.painteditem.retained") {
                    if (message.startsWith(QLatin1String("repainted"))) {
                        ++frameLog.partial;
                        frameLog.boxes += message.section(' ', 1, 1).toInt();
                    }
                    frameLog.banded += message.contains(QLatin1String("bands"));
                } else if (type != QtDebugMsg) {
                    fprintf(stderr, "%s\n", qPrintable(message));
                }
            });
}
