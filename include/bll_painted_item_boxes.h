#ifndef BLL_PAINTED_ITEM_BOXES_H
#define BLL_PAINTED_ITEM_BOXES_H

#include "bll_painted_item_export.h"

#include <QtCore/QObject>
#include <QtCore/QStringList>
#include <QtCore/QVariant>

class Bll_Painted_Item;

/**
 * The boxes of a Bll_Painted_Item read back as they are stored, one box removed, and the states
 * of many simple boxes set in one call.
 *
 * Families are named as BllPicking names them: "parameter", "dvi", "simple"; any other name has
 * no boxes. A box reads back as a map of what was given for it: "family", "boxId", "x", "y",
 * "width", "height", "borderWidth" (parameter and DVI boxes), and its state under the keys of the
 * family's option maps: "isHover" and "isSelected" of a simple box; "topBorder", "bottomBorder",
 * "leftBorder", "rightBorder" (picked) and "topParam", "bottomParam", "leftParam", "rightParam"
 * of a parameter box; "showText", "showBorder" and the four side switches of a DVI box.
 *
 * Unlike the item's own methods, the calls that change boxes ask the item to repaint (update())
 * when they changed something; the frame then repaints only where boxes changed. A removed box
 * is gone from its family: a frame after the removal is the frame of an item that never had it,
 * a box added again under its boxId is painted after the others, and no query finds it.
 *
 * C++ calls the static functions. QML calls the invokable ones of an instance, which the QML
 * module offers as the singleton BllBoxes (`import Bll.PaintedItem 1.2`); a host that registers
 * the types itself registers it too, for example
 * qmlRegisterSingletonType<BllBoxes>("My.Items", 1, 2, "BllBoxes", createFunction).
 * Calls run on the thread that owns the item.
 */
class BLL_PAINTED_ITEM_EXPORT BllBoxes : public QObject
{
    Q_OBJECT

public:
    explicit BllBoxes(QObject *parent = nullptr);

    /// The box of that family under boxId; an empty map when there is none.
    static QVariantMap box(const Bll_Painted_Item *item, const QString &family,
                           const QString &boxId);
    /// The family's boxIds in paint order: the first painted first.
    static QStringList ids(const Bll_Painted_Item *item, const QString &family);
    /// How many boxes the family holds.
    static int count(const Bll_Painted_Item *item, const QString &family);
    /// Removes the listed boxes of the family; unknown boxIds are passed over. Returns how many
    /// were removed.
    static int remove(Bll_Painted_Item *item, const QString &family, const QStringList &boxIds);
    /// Sets "isHover" and "isSelected", where `states` holds them (converted with toBool() as
    /// updateBoxSimpleF() converts them), on the listed simple boxes; unknown boxIds are passed
    /// over. Returns how many boxes changed.
    static int setSimpleStates(Bll_Painted_Item *item, const QStringList &boxIds,
                               const QVariantMap &states);
    /// setSimpleStates() on every simple box of the item.
    static int setAllSimpleStates(Bll_Painted_Item *item, const QVariantMap &states);

    /// box() for QML: the map, or null. Whatever is passed as the item, anything but a
    /// Bll_Painted_Item has no boxes.
    Q_INVOKABLE QVariant box(const QVariant &item, const QString &family,
                             const QString &boxId) const;
    /// ids() for QML: an array of strings.
    Q_INVOKABLE QStringList ids(const QVariant &item, const QString &family) const;
    /// count() for QML.
    Q_INVOKABLE int count(const QVariant &item, const QString &family) const;
    /// remove() for QML: boxIds is one boxId or an array of them.
    Q_INVOKABLE int remove(const QVariant &item, const QString &family,
                           const QVariant &boxIds) const;
    /// setSimpleStates() for QML: boxIds is one boxId or an array of them.
    Q_INVOKABLE int setSimpleStates(const QVariant &item, const QVariant &boxIds,
                                    const QVariantMap &states) const;
    /// setAllSimpleStates() for QML.
    Q_INVOKABLE int setAllSimpleStates(const QVariant &item, const QVariantMap &states) const;
};

#endif // BLL_PAINTED_ITEM_BOXES_H
