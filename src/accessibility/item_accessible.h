#ifndef BLL_ITEM_ACCESSIBLE_H
#define BLL_ITEM_ACCESSIBLE_H

// An item's accessible interface: its boxes as children, made when asked for and kept by
// family and boxId, so that a child stays the same box while others come and go. It follows
// the item's changes and sends the events they call for once per turn of the event loop.
// Private to the library; BllAccessibility installs it and BllBoxNavigator moves its focus.

#include "../core/item_changes.h"

#include <QtCore/QHash>
#include <QtCore/QPointer>
#include <QtGui/QAccessibleObject>

class QQuickItem;

// A box as the tree and the navigator name it; side is empty but for a parameter box's side.
// The family of no box is BoxFamilyCount.
struct AccessibleBox
{
    BoxFamily family = BoxFamilyCount;
    QString boxId;
    QString side;
    bool operator==(const AccessibleBox &o) const
    {
        return family == o.family && boxId == o.boxId && side == o.side;
    }
};

// The place of a side in sideNames; -1 for anything else.
int sideIndex(const QString &side);

class ItemAccessible final : public QAccessibleObject, public ItemChangeListener
{
public:
    explicit ItemAccessible(Bll_Painted_Item *item);
    ~ItemAccessible() override;

    // The item's interface, made when there is none; null for no item.
    static ItemAccessible *of(const Bll_Painted_Item *item);

    Bll_Painted_Item *item() const;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QWindow *window() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QRect rect() const override;

    // The interface of a box or of a parameter box's side; null when there is no such box.
    QAccessibleInterface *boxInterface(const AccessibleBox &box);
    // The box whose interface has the keyboard focus; the navigator sets it.
    void setFocusBox(const AccessibleBox &box) { m_focus = box; }
    const AccessibleBox &focusBox() const { return m_focus; }
    QString nameOf(BoxFamily family, const QString &boxId) const;
    void setNames(BoxFamily family, const QVariantMap &names);
    // Where a rectangle in item coordinates lies on the screen.
    QRect toScreen(const QRectF &rect) const;

    void boxesChanged(BoxFamily family, const int *indices, int count, Change change) override;
    void familyCleared(BoxFamily family) override;
    void stylesChanged() override { }

    // Sends what changed since the last time; called from the event loop.
    void sendChanges();

private:
    class BoxAccessible;
    friend class BoxAccessible;

    int tableIndexOfChild(BoxFamily family, int child) const;
    int childOfTableIndex(BoxFamily family, int index) const;
    const QVector<int> &liveIndices(BoxFamily family) const;
    BoxAccessible *made(BoxFamily family, const QString &boxId) const;
    void drop(BoxFamily family, const QString &boxId, bool announce);
    void dropAll(BoxFamily family);
    void postChanges();
    void follow() const;

    const Bll_Painted_Item *m_key; // the item this interface is for, even while it is destroyed
    QHash<QString, QAccessible::Id> m_made[BoxFamilyCount];
    QHash<QString, QString> m_names[BoxFamilyCount];
    AccessibleBox m_focus;

    // Where boxes lie in the table where removed ones left places empty; known until the
    // family's places change.
    mutable QVector<int> m_live[BoxFamilyCount];
    mutable bool m_liveKnown[BoxFamilyCount] = {};

    // What changed since the events were last sent.
    struct Pending
    {
        QVector<int> added[BoxFamilyCount];
        QVector<int> switched[BoxFamilyCount];
        bool cleared[BoxFamilyCount] = {};
        int changes = 0;
    };
    Pending m_pending;
    bool m_posted = false;
    bool m_following = false;
    int m_knownSize[BoxFamilyCount] = {}; // table sizes when the events were last sent
};

#endif // BLL_ITEM_ACCESSIBLE_H
