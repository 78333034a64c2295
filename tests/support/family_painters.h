#ifndef FAMILY_PAINTERS_H
#define FAMILY_PAINTERS_H

#include "recording_paint_device.h"
#include "test_item.h"

#include <QtCore/QMap>

// The six families as a test sees them painted: the painter that draws each one
// and the kind of draw call whose pen shows the family's style.
struct FamilyPainter
{
    QString name;
    void (TestItem::*paint)(QPainter *);
    DrawCall::Kind styledCall;
};

inline const QVector<FamilyPainter> familyPainters {
        {"rect", &TestItem::paintRect, DrawCall::Rect},
        {"line", &TestItem::paintLine, DrawCall::Line},
        {"ellipse", &TestItem::paintEllipse, DrawCall::Ellipse},
        {"box", &TestItem::paintBox, DrawCall::Polygon},
        {"dvi", &TestItem::paintBoxDVI, DrawCall::Text},
        {"simple", &TestItem::paintBoxSimple, DrawCall::Rect}};

// One record of every family, each large enough for a label.
inline void addOneOfEveryFamily(Bll_Painted_Item &item)
{
    item.addRectF(1, 2, 30, 40);
    item.addLineF(1, 2, 30, 40);
    item.addEllipseF(1, 2, 30, 40);
    item.addBoxF("box", 1, 2, 30, 40, 3);
    item.addBoxDVIF("dvi", 1, 2, 30, 40, 3);
    item.addBoxSimpleF("simple", 1, 2, 30, 40);
}

// Paints each family alone on a painter that holds painterPen, and returns the
// pen of its first styled draw call, for every family that draws one.
inline QMap<QString, QPen> familyPens(TestItem &item, const QPen &painterPen = QPen())
{
    QMap<QString, QPen> pens;
    for (const FamilyPainter &family : familyPainters) {
        RecordingPaintDevice device;
        {
            QPainter painter(&device);
            painter.setPen(painterPen);
            (item.*family.paint)(&painter);
        }
        const QVector<DrawCall> calls = device.calls(family.styledCall);
        if (!calls.isEmpty())
            pens.insert(family.name, calls.first().pen);
    }
    return pens;
}

#endif // FAMILY_PAINTERS_H
