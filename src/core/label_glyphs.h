#ifndef BLL_LABEL_GLYPHS_H
#define BLL_LABEL_GLYPHS_H

// Labels drawn from glyphs laid out once. Laying text out (itemizing, shaping) costs far more than
// drawing it, and a label's text and font rarely change between frames; what is kept of a label
// is its glyphs and where they go, a dozen bytes a glyph. Private to the library.

#include <QtCore/QRectF>
#include <QtCore/QString>
#include <QtCore/QVector>
#include <QtGui/QFont>
#include <QtGui/QGlyphRun>
#include <QtGui/QRawFont>
#include <QtGui/QTransform>

#include <cmath>

#include <utility>

class QPainter;

// Changes whenever fonts are added to or removed from the application, which may change what a
// family resolves to, and so what a label looks like.
int fontGeneration();

// Whether QPainter can place text in box: Qt's text layout turns positions into 26.6 fixed point,
// which is undefined for NaN, infinities and positions past +-2^25.
bool placeableText(const QRectF &box);

// One label as QPainter::drawText(box, Qt::AlignCenter, text) lays it out: the glyphs of its one
// line and their places from the line's start, in 26.6 fixed point like Qt's own glyph positions.
struct LabelGlyphs
{
    QString text; // shares the box's identifier
    QFont font; // the painter's font it was laid out in, shared between labels of a size
    int generation = -1; // fontGeneration() then
    qint32 width = 0, advance = 0, height = 0;
    bool byGlyphs = false; // else drawn by drawText, every time
    QVector<qint32> glyphs; // per glyph: its index in the font, x, y

    bool fits(const QString &label, const QFont &painterFont) const;
};

// Which labels a pass leaves out: those whose font is smaller than `smallest` device pixels (0
// leaves none out) on a painter whose world transform shows an item unit as `deviceScale` device
// pixels, on average both ways. Working out where a pass draws asks the same as drawing it.
struct LabelCut
{
    qreal deviceScale = 1;
    qreal smallest = 0;

    static LabelCut of(const QTransform &world, qreal smallest)
    {
        return {std::sqrt(std::abs(world.determinant())), smallest};
    }
    bool leavesOut(int pixelSize) const
    {
        return smallest > 0 && pixelSize * deviceScale < smallest;
    }
};

// The kept labels of one box family, by place in the family's table.
using LabelStore = QVector<LabelGlyphs>;

// Draws the labels of one painting pass on one painter, pixel for pixel as drawText, keeping
// what it lays out in `store`. Passes that run in parallel read `store` only; what they lay out
// is kept aside until keepInto() runs on the thread that owns the store.
class LabelPainter
{
public:
    enum Keeping { KeepInStore, KeepAside };
    LabelPainter(QPainter *painter, LabelStore *store, Keeping keeping);

    // Draws text centred in box with the painter's pen and font; nothing when the painter has no
    // pen, or where text cannot be placed.
    void draw(const QRectF &box, const QString &text, int index);

    // Leaves out the labels whose font is smaller than `pixels` on the device (0, the item's
    // own, draws every one): text that small cannot be read, and costs most of a zoomed-out
    // frame.
    void leaveOutBelow(qreal pixels) { m_cut.smallest = pixels; }
    const LabelCut &cut() const { return m_cut; }

    // Moves what was kept aside into the store, where its place is still free.
    void keepInto(LabelStore &store);

private:
    const LabelGlyphs &layOut(const QString &text, int index);
    void drawGlyphs(const LabelGlyphs &label, const QRectF &box);
    const QFont &sharedFont(const QFont &font);
    const QRawFont &rawFont(const QFont &font);

    QPainter *m_painter;
    LabelStore *m_store;
    Keeping m_keeping;
    bool m_glyphsExact; // glyphs land where drawText puts them on this painter
    LabelCut m_cut;
    QVector<std::pair<int, LabelGlyphs>> m_aside;
    QVector<QFont> m_fonts; // one object per font, shared by the labels laid out in it
    QVector<std::pair<QFont, QRawFont>> m_rawFonts; // this thread's, for drawGlyphRun
    QVector<quint32> m_indexes; // scratch
    QVector<QPointF> m_positions; // scratch
    QGlyphRun m_run;
};

#endif // BLL_LABEL_GLYPHS_H
