#ifndef BLL_PAINTED_ITEM_H
#define BLL_PAINTED_ITEM_H

#include "bll_painted_item_export.h"

#include <QtCore/QHash>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVector>
#include <QtGui/QColor>
#include <QtQuick/QQuickPaintedItem>

// Record types are private to the library; only their names appear here.
struct RectRecord;
struct LineRecord;
struct BoxRecord;
struct BoxDVIRecord;
struct BoxSimpleRecord;

/**
 * A QQuickPaintedItem that keeps and paints parameter boxes, DVI boxes and
 * simple boxes, and keeps rectangles, lines and ellipses for derived classes
 * to paint. QML feeds it through the invokable methods below and calls the
 * inherited update() after a change; no method repaints by itself.
 *
 * The library registers no QML type: the host application does, for example
 * qmlRegisterType<Bll_Painted_Item>("My.Items", 1, 0, "BllPaintedItem").
 */
class BLL_PAINTED_ITEM_EXPORT Bll_Painted_Item : public QQuickPaintedItem
{
    Q_OBJECT

public:
    /// Creates an empty item whose six style maps hold the defaults ("style" 1, "width" 1,
    /// "color" 2); `parent` (none by default) becomes its parent item.
    explicit Bll_Painted_Item(QQuickPaintedItem *parent = nullptr);
    /// Releases every record; tells nobody, as nothing holds a pointer into the item.
    ~Bll_Painted_Item() override;

    /// Appends a rectangle; vStyle (empty by default, so the family style applies) overrides
    /// the rectangle family's "style", "width", "color" and "brushColor" for this one only.
    Q_INVOKABLE void addRectF(double x, double y, double width, double height,
                              const QVariantMap &vStyle = QVariantMap());
    /// Appends a line; vStyle (empty by default) overrides the line family's "style",
    /// "width" and "color" for this line only.
    Q_INVOKABLE void addLineF(double x1, double y1, double x2, double y2,
                              const QVariantMap &vStyle = QVariantMap());
    /// Appends an ellipse inscribed in the rectangle; vStyle as for addRectF().
    Q_INVOKABLE void addEllipseF(double x, double y, double width, double height,
                                 const QVariantMap &vStyle = QVariantMap());
    /// Adds a parameter box, or replaces the box of that boxId: no side picked,
    /// every parameter 1.0 (no parameter).
    Q_INVOKABLE void addBoxF(QString boxId, double x, double y, double width, double height,
                             double borderWidth);
    /// Adds a DVI box, or replaces the box of that boxId: label shown, markers
    /// switched on, no side marked.
    Q_INVOKABLE void addBoxDVIF(QString boxId, double x, double y, double width, double height,
                                double borderWidth);
    /// Adds a simple box, or replaces the box of that boxId: neither hovered nor selected.
    Q_INVOKABLE void addBoxSimpleF(QString boxId, double x, double y, double width, double height);
    /// Picks or unpicks the sides named in vBorder ("topBorder", "bottomBorder",
    /// "leftBorder", "rightBorder") and returns the parameter of the last of them,
    /// in that order; 1.0 when none is named or the box does not exist.
    Q_INVOKABLE double updateBoxF(QString boxId, const QVariantMap &vBorder);
    /// Sets the switches named in vBorder ("showText", "showBorder", "topBorder",
    /// "bottomBorder", "leftBorder", "rightBorder") on one DVI box.
    Q_INVOKABLE void updateBoxDVIF(QString boxId, const QVariantMap &vBorder);
    /// Picks or unpicks the sides named in vBorder on every parameter box.
    Q_INVOKABLE void updateAllBoxF(const QVariantMap &vBorder);
    /// Gives vBorder's "currentParam" to every picked side of every parameter box.
    Q_INVOKABLE void updateBoxParamF(const QVariantMap &vBorder);
    /// Gives vBorder's "currentParam" to every side of every parameter box.
    Q_INVOKABLE void updateAllBoxParamF(const QVariantMap &vBorder);
    /// Sets the switches named in vBorder on every DVI box.
    Q_INVOKABLE void updateAllBoxDVIF(const QVariantMap &vBorder);
    /// Sets "isHover" and "isSelected" of one simple box, as named in vMap.
    Q_INVOKABLE void updateBoxSimpleF(QString boxId, const QVariantMap &vMap);
    /// Empties all six containers; style maps and the fill colour stay. Virtual so that a
    /// derived item can clear its own records too: QML's call reaches the override.
    Q_INVOKABLE virtual void clearAll();
    /// Removes every rectangle; the rectangle style stays.
    Q_INVOKABLE void clearRectF();
    /// Removes every line; the line style stays.
    Q_INVOKABLE void clearLineF();
    /// Removes every ellipse; the ellipse style stays.
    Q_INVOKABLE void clearEllipseF();
    /// Removes every parameter box; the box style stays.
    Q_INVOKABLE void clearBoxF();
    /// Removes every DVI box; the DVI style stays.
    Q_INVOKABLE void clearBoxDVIF();
    /// Removes every simple box; the simple-box style stays.
    Q_INVOKABLE void clearBoxSimpleF();
    /// Merges "style", "width", "color" and "brushColor" into the rectangle style.
    Q_INVOKABLE void setRectStyle(const QVariantMap &vStyle);
    /// Merges "style", "width", "color" and "brushColor" into the line style;
    /// "brushColor" fills the path through the lines' end points.
    Q_INVOKABLE void setLineStyle(const QVariantMap &vStyle);
    /// Merges "style", "width", "color" and "brushColor" into the ellipse style.
    Q_INVOKABLE void setEllipseStyle(const QVariantMap &vStyle);
    /// Merges the parameter-box style keys, then sets the item's fill colour from
    /// the stored "fillColor" (transparent while none is stored or valid).
    Q_INVOKABLE void setBoxStyle(const QVariantMap &vStyle);
    /// Sets the item's fill colour; an invalid colour sets transparent.
    Q_INVOKABLE void setBoxDVIFillColor(QColor fillColor);
    /// Merges "style", "width", "color" and "brushColor" into the DVI style.
    Q_INVOKABLE void setBoxDVIStyle(const QVariantMap &vStyle);
    /// Merges the simple-box style keys, then sets the item's fill colour from
    /// the stored "fillColor" (transparent while none is stored or valid).
    Q_INVOKABLE void setBoxSimpleStyle(const QVariantMap &vStyle);

    /// Turns a colour value from QML into a QColor: an int is a Qt::GlobalColor
    /// (0..19, anything else is invalid), a string a colour name, a QColor itself.
    /// Every other type gives an invalid colour.
    static QColor getTransformColor(const QVariant &value);

protected:
    /// Turns antialiasing on and paints the parameter, DVI and simple boxes, in that order.
    void paint(QPainter *painter) override;
    /// Gives all six style maps their defaults: "style" 1, "width" 1, "color" 2.
    void initPenStyle();

    /// Paints each parameter box's label, then its four bands, each filled by whether the
    /// side is picked and carries a parameter (a value other than 1.0).
    void paintBox(QPainter *painter);
    /// Paints each DVI box's label and the markers of its switched-on sides; the rectangle
    /// itself is not drawn.
    void paintBoxDVI(QPainter *painter);
    /// Paints each simple box as a whole-pixel rectangle filled by selection, else hover,
    /// else neither, with its label.
    void paintBoxSimple(QPainter *painter);
    /// Paints the rectangles for a derived class (the item's own paint() never does), with
    /// the family style overridden key by key by each record's vStyle.
    void paintRect(QPainter *painter);
    /// Paints the lines for a derived class, then, when the line family's "brushColor" is a
    /// valid colour, fills and strokes the path through the lines' end points.
    void paintLine(QPainter *painter);
    /// Paints the ellipses for a derived class, styled as paintRect() styles rectangles.
    void paintEllipse(QPainter *painter);

private:
    // The library's painting code reads the stores and styles through one door.
    friend struct ItemAccess;

    // Boxes keyed by boxId, visited in first-insertion order of their boxId.
    // Not API: the member functions are defined inside the library only.
    template<typename Record>
    class BoxTable
    {
    public:
        struct Entry
        {
            QString boxId;
            Record record;
        };

        int indexOf(const QString &boxId) const;
        // Returns the box's place in the order.
        int insert(const QString &boxId, const Record &record);
        // Leaves the box's place empty (see box_table.h); returns it, -1 for an unknown boxId.
        int remove(const QString &boxId);
        // Drops the empty places once they outnumber the boxes; true when places changed.
        bool compact();
        void clear();
        // Places, empty ones included: what painting walks.
        int size() const { return m_entries.size(); }
        // Boxes.
        int boxCount() const { return m_indexById.size(); }
        bool holdsBox(int index) const { return indexOf(m_entries.at(index).boxId) == index; }
        Entry &at(int index) { return m_entries[index]; }
        const Entry &at(int index) const { return m_entries.at(index); }
        typename QVector<Entry>::iterator begin() { return m_entries.begin(); }
        typename QVector<Entry>::iterator end() { return m_entries.end(); }
        typename QVector<Entry>::const_iterator begin() const { return m_entries.cbegin(); }
        typename QVector<Entry>::const_iterator end() const { return m_entries.cend(); }

    private:
        QHash<QString, int> m_indexById;
        QVector<Entry> m_entries;
    };

    QVariantMap m_rectStyle;
    QVector<RectRecord> m_rectVector;
    QVariantMap m_lineStyle;
    QVector<LineRecord> m_lineVector;
    QVariantMap m_ellipseStyle;
    QVector<RectRecord> m_ellipseVector;
    QVariantMap m_boxStyle;
    BoxTable<BoxRecord> m_boxHash;
    QVariantMap m_boxDVIStyle;
    BoxTable<BoxDVIRecord> m_boxDVIHash;
    QVariantMap m_boxSimpleStyle;
    BoxTable<BoxSimpleRecord> m_boxSimpleHash;
};

#endif // BLL_PAINTED_ITEM_H
