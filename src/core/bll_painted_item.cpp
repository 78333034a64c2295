#include "bll_painted_item.h"

#include "../boxes/box_table.h"
#include "../boxes/dvi_box_record.h"
#include "../boxes/parameter_box_record.h"
#include "../boxes/simple_box_record.h"
#include "../shapes/shape_records.h"
#include "retained_painting.h"

#include <QtGui/QPainter>

Bll_Painted_Item::Bll_Painted_Item(QQuickPaintedItem *parent) : QQuickPaintedItem(parent)
{
    clearAll();
    initPenStyle();
}

Bll_Painted_Item::~Bll_Painted_Item()
{
    RetainedPainting::forget(this);
}

void Bll_Painted_Item::paint(QPainter *painter)
{
    // No save/restore: each family starts from the pen, brush and font the previous one left.
    // On a raster device, a frame repaints only what changed when that gives the same pixels.
    painter->setRenderHint(QPainter::Antialiasing, true);
    RetainedPainting::paint(*this, painter);
}

void Bll_Painted_Item::clearAll()
{
    clearRectF();
    clearLineF();
    clearEllipseF();
    clearBoxF();
    clearBoxDVIF();
    clearBoxSimpleF();
}

// The shape lists keep their capacity, so refilling them does not allocate again.
void Bll_Painted_Item::clearRectF()
{
    m_rectVector.clear();
}

void Bll_Painted_Item::clearLineF()
{
    m_lineVector.clear();
}

void Bll_Painted_Item::clearEllipseF()
{
    m_ellipseVector.clear();
}

// The box tables release their storage.
void Bll_Painted_Item::clearBoxF()
{
    m_boxHash.clear();
    RetainedPainting::everythingChanged(this);
}

void Bll_Painted_Item::clearBoxDVIF()
{
    m_boxDVIHash.clear();
    RetainedPainting::everythingChanged(this);
}

void Bll_Painted_Item::clearBoxSimpleF()
{
    m_boxSimpleHash.clear();
    RetainedPainting::everythingChanged(this);
}
