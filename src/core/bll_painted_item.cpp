#include "bll_painted_item.h"

#include "retained_painting.h"

#include <QtGui/QPainter>

// The constructor and destructor live in ../item_lifetime.cpp, beside the families whose records
// the item holds; each family's clear beside its store.

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
