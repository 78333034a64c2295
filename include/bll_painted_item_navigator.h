#ifndef BLL_PAINTED_ITEM_NAVIGATOR_H
#define BLL_PAINTED_ITEM_NAVIGATOR_H

#include "bll_painted_item_export.h"

#include <QtGui/QColor>
#include <QtQuick/QQuickItem>

#include <memory>

class Bll_Painted_Item;

/**
 * Keyboard access to the boxes of a Bll_Painted_Item: a current box, moved by keys, reported to
 * screen readers as the focus, and shown by a ring drawn around it.
 *
 * With active focus (give it `focus: true`), the navigator takes:
 * - Tab and Shift+Tab: the next and the previous box in paint order (parameter boxes, DVI
 *   boxes, simple boxes, each family in the order its boxes were added). Past the last box, or
 *   before the first, the key is left to Qt Quick, which moves the focus on to the next item.
 * - The arrow keys: the nearest box in that direction, by the distance between centres along
 *   the direction plus twice the distance across it; with no box there, the current box stays.
 * - Home and End: the first and the last box.
 * - Space, Enter and Return: activated(currentBox).
 * The first key with no current box makes the first box current. Boxes that painting skips
 * (BllPicking never finds them) are passed over.
 *
 * currentBox is { family, boxId, side } ("parameter", "dvi" or "simple"; side is empty, or a
 * side of a parameter box given by the caller), or null. Setting a box that does not exist sets
 * null; a current box that is removed becomes null. With accessibility active, a new current box
 * is the accessible focus while the navigator has active focus, and a press or toggle action on
 * any box of the target emits activated() too.
 *
 * The ring is drawn in the navigator's own coordinates, so the navigator is placed over the
 * target, for example as its child filling it. On a BllViewItem it is drawn where the view shows
 * the box, and a key that moves to a box the view does not show whole pans the view the least
 * that brings it in.
 *
 * QML type BllBoxNavigator in `import Bll.PaintedItem 1.2`.
 */
class BLL_PAINTED_ITEM_EXPORT BllBoxNavigator : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(Bll_Painted_Item *target READ target WRITE setTarget NOTIFY targetChanged)
    Q_PROPERTY(QVariant currentBox READ currentBox WRITE setCurrentBox NOTIFY currentBoxChanged)
    Q_PROPERTY(QColor ringColor READ ringColor WRITE setRingColor NOTIFY ringColorChanged)
    Q_PROPERTY(qreal ringWidth READ ringWidth WRITE setRingWidth NOTIFY ringWidthChanged)

public:
    explicit BllBoxNavigator(QQuickItem *parent = nullptr);
    ~BllBoxNavigator() override;

    Bll_Painted_Item *target() const;
    void setTarget(Bll_Painted_Item *target);
    QVariant currentBox() const;
    void setCurrentBox(const QVariant &box);
    /// Default: the highlight colour of the palette, #308cc6.
    QColor ringColor() const;
    void setRingColor(const QColor &color);
    /// Default 2; a width that is not a number or below zero is taken as 0 (no ring).
    qreal ringWidth() const;
    void setRingWidth(qreal width);

Q_SIGNALS:
    void targetChanged();
    void currentBoxChanged();
    void ringColorChanged();
    void ringWidthChanged();
    /// Space, Enter or Return on the current box, or an accessibility action on a box.
    void activated(const QVariant &box);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    QSGNode *updatePaintNode(QSGNode *node, UpdatePaintNodeData *data) override;

private:
    class Private;
    friend class Private;
    std::unique_ptr<Private> d;
};

#endif // BLL_PAINTED_ITEM_NAVIGATOR_H
