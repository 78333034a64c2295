#ifndef BLL_PAINTED_ITEM_ACCESSIBILITY_H
#define BLL_PAINTED_ITEM_ACCESSIBILITY_H

#include "bll_painted_item_export.h"

#include <QtCore/QObject>
#include <QtCore/QVariant>

class Bll_Painted_Item;

/**
 * The boxes of every Bll_Painted_Item as children of the item in the accessible tree, where
 * screen readers find them (AT-SPI on Linux, UI Automation on Windows, NSAccessibility on macOS).
 *
 * The item is a group; each box is a child in paint order (parameter boxes, then DVI boxes, then
 * simple boxes), named by its boxId unless setBoxNames() gave it a name for people, placed where
 * it is picked (BllPicking), and invisible where painting skips it:
 * - a simple box is a list item, selected as isSelected and hot-tracked as isHover;
 * - a parameter box is a group of four check boxes, "top", "bottom", "left" and "right", each
 *   checked when its side is picked and described by its parameter;
 * - a DVI box is a label described by its marked sides ("marked: top, left"), and by "text
 *   hidden" when showText is off.
 * A box offers the press and toggle actions, which a BllBoxNavigator aimed at the item reports
 * as activated(). childAt() answers through the picking index: the topmost box, and within a
 * parameter box the side whose band holds the point.
 *
 * Children are made when a client asks for them, so an item of a million boxes costs nothing
 * until then. The tree follows the boxes: children added and removed, selection, checked and
 * description changes are sent after the change that made them, batched per turn of the event
 * loop; past 32 in one turn, the children made so far are dropped and one children-changed
 * event tells clients to read the item again.
 *
 * The QML module installs all of this (`import Bll.PaintedItem 1.2`, as BllAccessibility).
 * A host that registers the item type itself calls install() once, before it creates items.
 */
class BLL_PAINTED_ITEM_EXPORT BllAccessibility : public QObject
{
    Q_OBJECT

public:
    explicit BllAccessibility(QObject *parent = nullptr);

    /// Makes every Bll_Painted_Item, its derived classes included, and the boxes in it reachable
    /// in the accessible tree. Calling it again changes nothing.
    static void install();

    /// Names for people: `names` maps boxIds of the family ("parameter", "dvi" or "simple") to
    /// the names a screen reader says instead of the boxId; an empty name gives the boxId back.
    /// Names are merged with those given before, and stay when a box is removed and added again.
    static void setBoxNames(Bll_Painted_Item *item, const QString &family,
                            const QVariantMap &names);
    /// The name a screen reader says for the box.
    static QString boxName(const Bll_Painted_Item *item, const QString &family,
                           const QString &boxId);

    /// setBoxNames() for QML. Anything but a Bll_Painted_Item as the item changes nothing.
    Q_INVOKABLE void setBoxNames(const QVariant &item, const QString &family,
                                 const QVariantMap &names) const;
};

#endif // BLL_PAINTED_ITEM_ACCESSIBILITY_H
