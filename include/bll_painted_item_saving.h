#ifndef BLL_PAINTED_ITEM_SAVING_H
#define BLL_PAINTED_ITEM_SAVING_H

#include "bll_painted_item_export.h"

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>
#include <QtGui/QColor>

class Bll_Painted_Item;
class BllViewItem;

/// How BllExport::save() writes a file. The defaults give the item as it shows on a screen
/// of device pixel ratio 1.
struct BllExportOptions
{
    /// Pixels per item unit of a PNG or JPEG picture, which is painted at that size, not
    /// enlarged (4 gives four times the item's width and height). 1 by default; PDF and SVG
    /// do not use it, yet refuse one that is not a positive number as pictures do.
    qreal scale = 1;
    /// What the item is painted over. By default (an invalid colour) the item's fill colour.
    /// PNG and SVG keep transparency; JPEG and PDF take only an opaque background, and lay a
    /// fill colour that is not opaque on white.
    QColor background;
    /// The document title of a PDF or SVG file; none by default.
    QString title;
};

/**
 * Saves what a Bll_Painted_Item paints into a file: a PNG or JPEG picture at any scale, or a
 * PDF or SVG drawing whose labels are text and whose bands, markers and outlines are paths.
 * The format comes from the suffix of the file name, in any case: .png, .jpg or .jpeg, .pdf,
 * and .svg when the library was built with Qt SVG.
 *
 * What is saved is what the item's paint() draws, a derived class's drawing included, over
 * the background, at the item's size in item units: a picture at scale 1 has a pixel per
 * unit, a PDF or SVG drawing a CSS pixel (1/96 inch, 0.75 pt) per unit. Pictures carry
 * the resolution (96 dpi times the scale) that prints them at the item's size.
 *
 * C++ calls the static save(). QML calls the invokable save() of an instance, which the QML
 * module offers as the singleton BllExport (`import Bll.PaintedItem 1.1`); a host that
 * registers the types itself registers it too, for example
 * qmlRegisterSingletonType<BllExport>("My.Items", 1, 1, "BllExport", createFunction).
 *
 * Both return an empty string on success, else a message that says what was wrong. The file
 * is written beside its destination and renamed into place once complete: a failed save
 * leaves no file behind and never replaces an existing file with a partial one. Saving
 * paints the item once more, in full, on the calling thread, which must own the item.
 */
class BLL_PAINTED_ITEM_EXPORT BllExport : public QObject
{
    Q_OBJECT

public:
    explicit BllExport(QObject *parent = nullptr);

    /// Saves item into fileName, a local path (relative ones from the current directory).
    /// Returns an empty string, or why nothing was saved: no item, an item without area,
    /// an unknown suffix, SVG without Qt SVG, a scale that is not a positive number or gives a
    /// picture larger than a QImage holds (2 GiB), a transparent background for JPEG or PDF,
    /// a directory that does not exist, a file that cannot be written.
    static QString save(Bll_Painted_Item *item, const QString &fileName,
                        const BllExportOptions &options = BllExportOptions());

    /// Saves the whole of a view's scene (its sceneBounds) at the view's scale, as a view that
    /// large would show it, whatever part the view shows now. The same answers as save(), and
    /// an empty scene cannot be saved.
    static QString saveScene(BllViewItem *view, const QString &fileName,
                             const BllExportOptions &options = BllExportOptions());
    /// save() for QML: item any object, file a path or a file: URL, options a map holding any
    /// of "scale" (a number), "background" (a colour as the item's styles take one: a name,
    /// a Qt.rgba() colour, a Qt::GlobalColor number), "title" (a string) and, for a BllViewItem,
    /// "area": "view" (what it shows, the default) or "scene" (saveScene()). Anything else,
    /// an object that is not a Bll_Painted_Item included, is answered with a message.
    Q_INVOKABLE QString save(QObject *item, const QVariant &file,
                             const QVariantMap &options = QVariantMap()) const;

    /// The suffixes save() takes in this build, in lower case: "png", "jpg", "jpeg", "pdf",
    /// and "svg" when the library was built with Qt SVG.
    Q_INVOKABLE static QStringList supportedSuffixes();
};

#endif // BLL_PAINTED_ITEM_SAVING_H
