#ifndef TEST_ITEM_H
#define TEST_ITEM_H

#include "bll_painted_item.h"
#include "recording_paint_device.h"

// The item with its protected members opened up, as a derived class sees them.
class TestItem : public Bll_Painted_Item
{
public:
    using Bll_Painted_Item::initPenStyle;
    using Bll_Painted_Item::paint;
    using Bll_Painted_Item::paintBox;
    using Bll_Painted_Item::paintBoxDVI;
    using Bll_Painted_Item::paintBoxSimple;
    using Bll_Painted_Item::paintEllipse;
    using Bll_Painted_Item::paintLine;
    using Bll_Painted_Item::paintRect;

    // The item's own paint(), then the shapes, as a derived item paints everything.
    void paintAll(QPainter *painter)
    {
        paint(painter);
        paintRect(painter);
        paintLine(painter);
        paintEllipse(painter);
    }
};

// The six families: their style setter, clear and painter, and the kind of draw call whose pen
// shows the family's style.
struct Family
{
    const char *name, *setStyle, *clear;
    void (TestItem::*paint)(QPainter *);
    DrawCall::Kind styledCall;
};

inline const Family families[] = {
        {"rect", "setRectStyle", "clearRectF", &TestItem::paintRect, DrawCall::Rect},
        {"line", "setLineStyle", "clearLineF", &TestItem::paintLine, DrawCall::Line},
        {"ellipse", "setEllipseStyle", "clearEllipseF", &TestItem::paintEllipse, DrawCall::Ellipse},
        {"box", "setBoxStyle", "clearBoxF", &TestItem::paintBox, DrawCall::Polygon},
        {"dvi", "setBoxDVIStyle", "clearBoxDVIF", &TestItem::paintBoxDVI, DrawCall::Text},
        {"simple", "setBoxSimpleStyle", "clearBoxSimpleF", &TestItem::paintBoxSimple,
         DrawCall::Rect}};

// Calls one of the item's invokable methods by name, as QML does: each argument is converted
// to the parameter's type, maps are passed as they are. Returns updateBoxF's answer, else 0.
double invoke(QObject *item, const QByteArray &method, const QVariantList &args);

// Runs calls written the way a QML script would make them, separated by ';', e.g.
// "addBoxF a 0 0 40 40 4; updateBoxF a {topBorder:1, rightBorder:true}". Numbers with a point
// (and nan, inf) are doubles, other numbers ints, true and false bools, {key:value, ...} maps,
// [a, b] lists, '...' a string as it is ('' the empty one); anything else is a string too.
// BllBoxes' calls take the item as their first argument: "remove simple [a, b]". Returns the
// last call's answer.
double run(QObject *item, const QString &script);

// What kept frames tell of each frame (the "bll.painteditem.retained" logging category), counted
// once countFrameLog() has been called: frames repainted in part, the boxes those repainted, and
// frames painted in bands. Other messages than debug ones still reach standard error.
struct FrameLog
{
    int partial = 0, boxes = 0, banded = 0;
};
extern FrameLog frameLog;
void countFrameLog();
QVariant scriptValue(const QString &token);

// A fresh item that has run script, painted by paint on a painter found holding foundPen,
// foundBrush and foundFont(): every call as text with its tools, then the state left behind,
// as "left <pen>, <brush>, <font family> <pixel size>px"; the found tools read "found pen"
// and "found brush".
QStringList painting(const QString &script, void (TestItem::*paint)(QPainter *));

inline const QPen foundPen(Qt::green, 5, Qt::DotLine, Qt::RoundCap);
inline const QBrush foundBrush(Qt::gray, Qt::Dense4Pattern);

// One record of every family, each large enough for a label.
inline const QString oneOfEveryFamily = QStringLiteral(
        "addRectF 1 2 30 40; addLineF 1 2 30 40; addEllipseF 1 2 30 40;"
        "addBoxF box 1 2 30 40 3; addBoxDVIF dvi 1 2 30 40 3; addBoxSimpleF simple 1 2 30 40");

#endif // TEST_ITEM_H
