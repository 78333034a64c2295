#ifndef BLL_PAINTED_ITEM_MODEL_H
#define BLL_PAINTED_ITEM_MODEL_H

#include "bll_painted_item_export.h"

#include <QtCore/QAbstractItemModel>
#include <QtCore/QHash>
#include <QtCore/QMetaObject>
#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QVariant>
#include <QtCore/QVector>
#include <QtQml/QQmlParserStatus>

class Bll_Painted_Item;

/**
 * Feeds one family of a Bll_Painted_Item from the rows of a model and follows the model.
 *
 * Each row of `model` (a QAbstractItemModel, QML's ListModel among them; column 0) is one box:
 * its boxId, x, y, width and height (and border width, for parameter and DVI boxes) come from
 * the roles named by the role properties, looked up by name each time the model changes, so that
 * roles that appear late (a ListModel's, with its first row) are found. The box's states come
 * from the roles named like them, as BllBoxes reads them back ("isSelected", "topBorder",
 * "topParam", "showText", ...), or from the role that `stateRoles` names for a state. A state
 * without a role is left as other calls set it.
 *
 * Values are given to the item as QML would give them to its methods: a boxId is the value's
 * string, a coordinate or size that is no number (a missing role, a text that is no number) is
 * NaN and the box is not drawn, a state is converted with toBool() as the option maps are, a side
 * parameter with toReal() as "currentParam" is.
 *
 * The boxes are painted in the order of the rows, as a fresh item given the rows one after the
 * other paints them. Rows appended are boxes added; rows inserted before others add the boxes
 * from there on again (a row inserted at the front costs as many adds as there are rows);
 * rows removed are boxes removed; a changed row changes its box's place or states only, and a
 * row whose boxId changed adds the boxes from there on again. Moves, layout changes and resets
 * feed the family anew. Rows that repeat a boxId feed one box, in the place of the first and
 * with the values of the last, as the item's methods do; once rows repeat a boxId, or a row's
 * boxId is that of a box added otherwise, every change but appended rows feeds the family anew.
 * After each change of the model the mapper calls the item's update() once.
 *
 * The mapper removes only the boxes it added: several mappers may feed one item, one family
 * each, beside boxes added through the item's methods. When its model, target or family is
 * changed or destroyed, the boxes it added are removed.
 *
 * QML: BllBoxModel in `import Bll.PaintedItem 1.2`; a host that registers the types itself
 * registers it too, for example qmlRegisterType<BllBoxModel>("My.Items", 1, 2, "BllBoxModel").
 */
class BLL_PAINTED_ITEM_EXPORT BllBoxModel : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    Q_PROPERTY(Bll_Painted_Item *target READ target WRITE setTarget NOTIFY targetChanged)
    Q_PROPERTY(QAbstractItemModel *model READ model WRITE setModel NOTIFY modelChanged)
    /// "parameter", "dvi" or "simple" (the default); any other name feeds nothing.
    Q_PROPERTY(QString family READ family WRITE setFamily NOTIFY familyChanged)
    Q_PROPERTY(QString idRole READ idRole WRITE setIdRole NOTIFY rolesChanged)
    Q_PROPERTY(QString xRole READ xRole WRITE setXRole NOTIFY rolesChanged)
    Q_PROPERTY(QString yRole READ yRole WRITE setYRole NOTIFY rolesChanged)
    Q_PROPERTY(QString widthRole READ widthRole WRITE setWidthRole NOTIFY rolesChanged)
    Q_PROPERTY(QString heightRole READ heightRole WRITE setHeightRole NOTIFY rolesChanged)
    Q_PROPERTY(QString borderWidthRole READ borderWidthRole WRITE setBorderWidthRole NOTIFY
                       rolesChanged)
    /// The role of a state by the state's name, for the states whose roles are named otherwise.
    Q_PROPERTY(QVariantMap stateRoles READ stateRoles WRITE setStateRoles NOTIFY rolesChanged)
    /// The rows fed into the item.
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    explicit BllBoxModel(QObject *parent = nullptr);
    ~BllBoxModel() override;

    Bll_Painted_Item *target() const { return m_target; }
    void setTarget(Bll_Painted_Item *target);
    QAbstractItemModel *model() const { return m_model; }
    void setModel(QAbstractItemModel *model);
    QString family() const { return m_family; }
    void setFamily(const QString &family);

    /// "boxId", "x", "y", "width", "height" and "borderWidth" by default.
    QString idRole() const { return m_roleNames[IdRole]; }
    void setIdRole(const QString &role) { setRole(IdRole, role); }
    QString xRole() const { return m_roleNames[XRole]; }
    void setXRole(const QString &role) { setRole(XRole, role); }
    QString yRole() const { return m_roleNames[YRole]; }
    void setYRole(const QString &role) { setRole(YRole, role); }
    QString widthRole() const { return m_roleNames[WidthRole]; }
    void setWidthRole(const QString &role) { setRole(WidthRole, role); }
    QString heightRole() const { return m_roleNames[HeightRole]; }
    void setHeightRole(const QString &role) { setRole(HeightRole, role); }
    QString borderWidthRole() const { return m_roleNames[BorderWidthRole]; }
    void setBorderWidthRole(const QString &role) { setRole(BorderWidthRole, role); }
    QVariantMap stateRoles() const { return m_stateRoles; }
    void setStateRoles(const QVariantMap &roles);

    int count() const { return m_rowIds.size(); }

    void classBegin() override;
    void componentComplete() override;

Q_SIGNALS:
    void targetChanged();
    void modelChanged();
    void familyChanged();
    void rolesChanged();
    void countChanged();

private:
    enum Role { IdRole, XRole, YRole, WidthRole, HeightRole, BorderWidthRole, RoleCount };
    struct Feed;
    friend struct Feed;

    void setRole(Role role, const QString &name);
    void feedAnew();
    void unfeed();
    void rowsInserted(int first, int last);
    void rowsRemoved(int first, int last);
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QVector<int> &roles);
    void refeedFrom(int row);
    void feedRows(Feed &feed, int first, int last,
                  const QHash<QString, QVariantMap> &kept = QHash<QString, QVariantMap>());
    void finish(bool changed, int countBefore);

    QPointer<Bll_Painted_Item> m_target;
    QPointer<QAbstractItemModel> m_model;
    QString m_family = QStringLiteral("simple");
    QString m_roleNames[RoleCount];
    QVariantMap m_stateRoles;
    bool m_completing = false;
    QVector<QMetaObject::Connection> m_connections;
    // The boxId that each row fed, and whether a boxId was a box already when its row was fed.
    QVector<QString> m_rowIds;
    bool m_repeats = false;
    // What the boxes were fed into: the boxes to remove when that changes.
    QPointer<Bll_Painted_Item> m_fedTarget;
    int m_fedFamily = -1;
};

#endif // BLL_PAINTED_ITEM_MODEL_H
