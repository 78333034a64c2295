#ifndef BLL_PAINTED_ITEM_PICKING_H
#define BLL_PAINTED_ITEM_PICKING_H

#include "bll_painted_item_export.h"

#include <QtCore/QObject>
#include <QtCore/QPointF>
#include <QtCore/QRectF>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVector>

class Bll_Painted_Item;

/// A box that BllPicking found.
struct BllPickedBox
{
    /// "parameter", "dvi" or "simple"; empty when no box was found.
    QString family;
    QString boxId;
    /// boxAt() only: for a parameter box, the side whose band holds the point ("top",
    /// "bottom", "left" or "right"), empty inside the bands; for a DVI box the side nearest the
    /// point (the first of top, bottom, left, right where two are as near); empty for a simple
    /// box.
    QString side;

    bool isNull() const { return family.isEmpty(); }
};

/**
 * Which boxes of a Bll_Painted_Item lie under a point or meet a rectangle, as they are painted.
 *
 * A box is found by the rectangle where it is drawn, edges included: a simple box's whole-pixel
 * rectangle, the stored x, y, width and height of the others. A box that painting skips (width
 * or height not above 1, not a number, infinite, or beyond where painting places shapes) is
 * never found. Boxes lie in paint order: simple boxes over DVI boxes over parameter boxes, and
 * within a family a box painted later over one painted earlier; the topmost comes first.
 *
 * Points and rectangles are in item coordinates. A BllViewItem's boxes lie in scene coordinates:
 * its view's mapping takes the point or rectangle there first.
 *
 * The item keeps an index of where its boxes lie beside it, which its store operations keep
 * current: a query costs about the same whatever the number of boxes. Queries run on the thread
 * that owns the item.
 *
 * C++ calls the static functions. QML calls the invokable ones of an instance, which the QML
 * module offers as the singleton BllPicking (`import Bll.PaintedItem 1.1`); a host that
 * registers the types itself registers it too, for example
 * qmlRegisterSingletonType<BllPicking>("My.Items", 1, 1, "BllPicking", createFunction).
 */
class BLL_PAINTED_ITEM_EXPORT BllPicking : public QObject
{
    Q_OBJECT

public:
    explicit BllPicking(QObject *parent = nullptr);

    /// The topmost box whose rectangle holds point (item coordinates); a null box when there is
    /// none, when item is null or the point is not a pair of numbers.
    static BllPickedBox boxAt(const Bll_Painted_Item *item, const QPointF &point);
    /// Every box whose rectangle meets rect (item coordinates, edges included; a negative width
    /// or height reaches left or up), topmost first; none for a rectangle with an edge that is
    /// not a number.
    static QVector<BllPickedBox> boxesIn(const Bll_Painted_Item *item, const QRectF &rect);

    /// boxAt() for QML: { family, boxId, side }, or null. Whatever is passed as the item,
    /// anything but a Bll_Painted_Item has no boxes.
    Q_INVOKABLE QVariant boxAt(const QVariant &item, double x, double y) const;
    /// boxesIn() for QML: an array of { family, boxId }, topmost first.
    Q_INVOKABLE QVariantList boxesIn(const QVariant &item, double x, double y, double width,
                                     double height) const;
};

#endif // BLL_PAINTED_ITEM_PICKING_H
