#include "bll_painted_item_saving.h"

#include "../core/retained_painting.h"
#include "../view/view_access.h"
#include "bll_painted_item.h"
#include "bll_painted_item_view.h"
#include "export_writers.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QSaveFile>
#include <QtCore/QUrl>
#include <QtGui/QPainter>

#include <cmath>

namespace {

enum class Format { Png, Jpeg, Pdf, Svg };

struct Suffix
{
    const char *name;
    Format format;
};

const Suffix suffixes[] = {{"png", Format::Png},
                           {"jpg", Format::Jpeg},
                           {"jpeg", Format::Jpeg},
                           {"pdf", Format::Pdf},
#ifdef BLL_WITH_SVG
                           {"svg", Format::Svg}
#endif
};

// A QImage keeps its pixels in one block whose size Qt 5 holds in an int; the Qt 6 build keeps
// to the same, so that both answer alike.
constexpr double largestImageBytes = 2147483647.0;
// Qt's vector devices take the page in whole points and pixels, as int.
constexpr double largestItemExtent = 16777215;

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

bool isNumber(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// A value from QML, as a message shows it: numbers and strings as they are, else the type.
QString shown(const QVariant &value)
{
    if (isNumber(value))
        return QString::number(value.toDouble());
    if (value.userType() == QMetaType::QString)
        return quoted(value.toString());
    return value.isValid() ? QLatin1String(value.typeName()) : QStringLiteral("undefined");
}

QString scaleMessage(const QString &scale)
{
    return QStringLiteral("scale must be a positive number, not %1").arg(scale);
}

// JPEG has no alpha, and a PDF page none under its drawing: a colour that is not opaque is
// laid on white, as the paper shows it.
QColor onWhite(const QColor &color)
{
    const qreal alpha = color.isValid() ? color.alphaF() : 0;
    const auto mix = [alpha](qreal channel) { return channel * alpha + (1 - alpha); };
    return QColor::fromRgbF(mix(color.redF()), mix(color.greenF()), mix(color.blueF()));
}

} // namespace

void paintPage(QPainter *painter, const ExportPage &page)
{
    if (page.background.isValid() && page.background.alpha() > 0)
        painter->fillRect(QRectF(QPointF(0, 0), page.size), page.background);
    const RetainedPainting::FullFrames once(painter);
    if (page.wholeScene)
        ViewAccess::paintScene(*static_cast<BllViewItem *>(page.item), painter);
    else // paint() is public in QQuickPaintedItem: this reaches a derived item's override too.
        static_cast<QQuickPaintedItem *>(page.item)->paint(painter);
}

namespace {

// Saves a page of `size` item units; `what` names it in messages.
QString saveArea(Bll_Painted_Item *item, const QSizeF &size, bool wholeScene, const QString &what,
                 const QString &fileName, const BllExportOptions &options)
{
    if (fileName.isEmpty())
        return QStringLiteral("no file name given");
    if (!(size.width() > 0 && size.height() > 0 && size.width() <= largestItemExtent
          && size.height() <= largestItemExtent)) {
        return QStringLiteral("%1 of %2 x %3 cannot be saved: its width and height must be "
                              "above 0 and at most %4")
                .arg(what)
                .arg(size.width())
                .arg(size.height())
                .arg(qint64(largestItemExtent));
    }

    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const Suffix *known = nullptr;
    for (const Suffix &candidate : suffixes) {
        if (suffix == QLatin1String(candidate.name))
            known = &candidate;
    }
    if (!known && suffix == QLatin1String("svg"))
        return QStringLiteral("cannot save %1: this build has no SVG export (it was built without "
                              "Qt SVG)")
                .arg(quoted(fileName));
    if (!known)
        return QStringLiteral("cannot save %1: the file name must end in .%2")
                .arg(quoted(fileName), BllExport::supportedSuffixes().join(QStringLiteral(", .")));
    const Format format = known->format;

    // Refused whatever the format, though only pictures use it: such a scale is a mistake.
    const qreal scale = options.scale;
    if (!(scale > 0 && std::isfinite(scale)))
        return scaleMessage(QString::number(scale));
    QSize pixels;
    if (format == Format::Png || format == Format::Jpeg) {
        const double width = std::round(size.width() * scale);
        const double height = std::round(size.height() * scale);
        if (!(width >= 1 && height >= 1 && width * height * 4 <= largestImageBytes)) {
            return QStringLiteral("scale %1 makes a picture of %2 x %3 pixels, beyond what a "
                                  "QImage holds (at least one pixel, at most 2 GiB)")
                    .arg(scale)
                    .arg(width)
                    .arg(height);
        }
        pixels = QSize(int(width), int(height));
    }

    ExportPage page {item, size, wholeScene,
                     options.background.isValid() ? options.background : item->fillColor(),
                     options.title};
    if ((format == Format::Jpeg || format == Format::Pdf) && page.background.alpha() < 255) {
        if (options.background.isValid())
            return QStringLiteral("cannot save %1 over a background that is not opaque: "
                                  "only PNG and SVG keep transparency")
                    .arg(quoted(fileName));
        page.background = onWhite(page.background);
    }

    const QString directory = QFileInfo(fileName).absolutePath();
    if (!QFileInfo(directory).isDir())
        return QStringLiteral("cannot save %1: the directory %2 does not exist")
                .arg(quoted(fileName), quoted(QDir::toNativeSeparators(directory)));

    // Written beside the file and renamed over it once complete; dropped on failure.
    QSaveFile file(fileName);
    QString error;
    if (file.open(QIODevice::WriteOnly)) {
        switch (format) {
        case Format::Png:
            error = writeImage(&file, page, options.scale, pixels, "png");
            break;
        case Format::Jpeg:
            error = writeImage(&file, page, options.scale, pixels, "jpeg");
            break;
        case Format::Pdf:
            error = writePdf(&file, page);
            break;
        case Format::Svg:
#ifdef BLL_WITH_SVG // else no suffix names the format
            error = writeSvg(&file, page);
#endif
            break;
        }
        if (error.isEmpty() && !file.commit())
            error = file.errorString();
    } else {
        error = file.errorString();
    }
    if (!error.isEmpty())
        return QStringLiteral("cannot write %1: %2").arg(quoted(fileName), error);
    return QString();
}

} // namespace

BllExport::BllExport(QObject *parent) : QObject(parent) { }

QStringList BllExport::supportedSuffixes()
{
    QStringList names;
    for (const Suffix &suffix : suffixes)
        names << QLatin1String(suffix.name);
    return names;
}

QString BllExport::save(Bll_Painted_Item *item, const QString &fileName,
                        const BllExportOptions &options)
{
    if (!item)
        return QStringLiteral("no item to save");
    return saveArea(item, QSizeF(item->width(), item->height()), false, QStringLiteral("an item"),
                    fileName, options);
}

QString BllExport::saveScene(BllViewItem *view, const QString &fileName,
                             const BllExportOptions &options)
{
    if (!view)
        return QStringLiteral("no view to save");
    const QRectF bounds = view->sceneBounds();
    if (bounds.isEmpty())
        return QStringLiteral("an empty scene cannot be saved");
    return saveArea(view, bounds.size() * view->viewScale(), true, QStringLiteral("a scene"),
                    fileName, options);
}

QString BllExport::save(QObject *item, const QVariant &file, const QVariantMap &options) const
{
    auto *paintedItem = qobject_cast<Bll_Painted_Item *>(item);
    if (!paintedItem && item)
        return QStringLiteral("%1 is not a Bll_Painted_Item: only those can be saved")
                .arg(QLatin1String(item->metaObject()->className()));
    if (!paintedItem)
        return QStringLiteral("no item to save");

    QString fileName;
    QUrl url;
    if (file.userType() == QMetaType::QString) {
        fileName = file.toString();
        if (fileName.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)
            || fileName.contains(QLatin1String("://")))
            url = QUrl(fileName);
    } else if (file.userType() == QMetaType::QUrl) {
        url = file.toUrl();
    } else {
        return QStringLiteral("the file must be a path or a file: URL, not %1").arg(shown(file));
    }
    if (url.isLocalFile())
        fileName = url.toLocalFile();
    else if (!url.isEmpty() && url.isRelative())
        fileName = url.path();
    else if (!url.isEmpty())
        return QStringLiteral("only local files can be written, not %1")
                .arg(quoted(url.toDisplayString()));

    BllExportOptions typed;
    bool wholeScene = false;
    for (auto option = options.cbegin(); option != options.cend(); ++option) {
        const QVariant &value = option.value();
        if (option.key() == QLatin1String("scale")) {
            if (!isNumber(value))
                return scaleMessage(shown(value));
            typed.scale = value.toDouble();
        } else if (option.key() == QLatin1String("background")) {
            typed.background = Bll_Painted_Item::getTransformColor(value);
            if (!typed.background.isValid())
                return QStringLiteral("background must be a colour, not %1").arg(shown(value));
        } else if (option.key() == QLatin1String("title")) {
            if (value.userType() != QMetaType::QString)
                return QStringLiteral("title must be a string, not %1").arg(shown(value));
            typed.title = value.toString();
        } else if (option.key() == QLatin1String("area")) {
            const QString area =
                    value.userType() == QMetaType::QString ? value.toString() : QString();
            if (area != QLatin1String("view") && area != QLatin1String("scene"))
                return QStringLiteral("area must be \"view\" or \"scene\", not %1")
                        .arg(shown(value));
            if (!qobject_cast<BllViewItem *>(paintedItem))
                return QStringLiteral("only a BllViewItem has an area to choose");
            wholeScene = area == QLatin1String("scene");
        } else {
            return QStringLiteral("unknown option %1: the options are scale, background, title "
                                  "and area")
                    .arg(quoted(option.key()));
        }
    }
    if (wholeScene)
        return saveScene(static_cast<BllViewItem *>(paintedItem), fileName, typed);
    return save(paintedItem, fileName, typed);
}
