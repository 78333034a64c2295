#include "label_glyphs.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QPaintEngine>
#include <QtGui/QPainter>
#include <QtGui/QTextLayout>

#include <atomic>
#include <cmath>

namespace {

// Counts the fonts added to or removed from the application.
std::atomic<int> fontDatabaseChanges {0};

// QPainter::drawText lays a text out with an unlimited line width, so it never wraps.
constexpr double unlimitedLineWidth = 0x01000000;

// Where a line's position still converts to 26.6 fixed point.
constexpr double fixedPointLimit = 16777216.0;

qint32 fixed(qreal value)
{
    return qint32(std::lround(value * 64));
}

// Characters that QPainter::drawText rewrites before laying out (line breaks, tabs, length
// variants) or that break a line: such labels are drawn by drawText itself, every time.
bool laysOutAsOneLine(const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u <= 0x9f) || u == QChar::LineSeparator
            || u == QChar::ParagraphSeparator)
            return false;
    }
    return !text.isEmpty();
}

// Underlines and the like are drawn by a step of drawText that its public parts do not offer.
bool hasDecorations(const QFont &font)
{
    return font.underline() || font.overline() || font.strikeOut();
}

// A scale whose products with 26.6 fixed-point positions stay exact, so that a glyph lands on
// the same device position whichever way Qt groups the arithmetic.
bool exactScale(qreal scale)
{
    const qreal steps = scale * 256;
    return scale > 0 && scale <= 64 && steps == std::floor(steps);
}

// A translation in 64ths of a device pixel, as a view's at 1:1 is, adds to a glyph's 26.6
// position without rounding.
bool exactTranslation(qreal translation)
{
    const qreal steps = translation * 64;
    return qAbs(translation) < fixedPointLimit && steps == std::floor(steps);
}

} // namespace

int fontGeneration()
{
    static const bool watching = [] {
        if (qGuiApp) {
            QObject::connect(qGuiApp, &QGuiApplication::fontDatabaseChanged,
                             [] { ++fontDatabaseChanges; });
        }
        return true;
    }();
    Q_UNUSED(watching)
    return fontDatabaseChanges.load();
}

bool placeableText(const QRectF &box)
{
    // QPainter draws no text past +-(2^23 - 1) anyway. Beyond int, x + w / 2 is too coarse to
    // place a label.
    constexpr double textLimit = 8388607.0;
    constexpr double intLimit = 2147483648.0;
    const QPointF centre = box.center();
    return qAbs(box.x()) < intLimit && qAbs(box.y()) < intLimit && qAbs(centre.x()) <= textLimit
            && qAbs(centre.y()) <= textLimit;
}

bool LabelGlyphs::fits(const QString &label, const QFont &painterFont) const
{
    // The label text of a box never changes; a table that was cleared and refilled holds other
    // strings at the same places.
    return text.constData() == label.constData() && text.size() == label.size()
            && generation == fontGeneration() && font == painterFont;
}

LabelPainter::LabelPainter(QPainter *painter, LabelStore *store, Keeping keeping)
    : m_painter(painter), m_store(store), m_keeping(keeping)
{
    // Glyphs drawn by drawGlyphRun land where drawText puts them when Qt's arithmetic on their
    // positions is exact: a translation in 64ths, a scale in 256ths, on the raster engine (which
    // also draws them as drawText does; others would lose the text, in a PDF say). Labels that run
    // right to left are left to drawText.
    const QTransform device = painter->deviceTransform();
    const QPaintEngine *engine = painter->paintEngine();
    m_cut = LabelCut::of(painter->worldTransform(), 0);
    m_glyphsExact = engine && engine->type() == QPaintEngine::Raster
            && painter->layoutDirection() != Qt::RightToLeft && device.type() <= QTransform::TxScale
            && exactTranslation(device.dx()) && exactTranslation(device.dy())
            && exactScale(device.m11()) && exactScale(device.m22());
}

void LabelPainter::draw(const QRectF &box, const QString &text, int index)
{
    // drawText draws nothing without a pen, whatever the text.
    if (!placeableText(box) || m_painter->pen().style() == Qt::NoPen)
        return;
    const QFont &font = m_painter->font();
    if (m_cut.leavesOut(font.pixelSize()))
        return;
    if (!m_glyphsExact || !laysOutAsOneLine(text) || hasDecorations(font)) {
        m_painter->drawText(box, Qt::AlignCenter, text);
        return;
    }
    const LabelStore *store = m_store;
    const LabelGlyphs *label = store && index < store->size() && store->at(index).fits(text, font)
            ? &store->at(index)
            : &layOut(text, index);
    if (label->byGlyphs)
        drawGlyphs(*label, box);
    else
        m_painter->drawText(box, Qt::AlignCenter, text);
}

const LabelGlyphs &LabelPainter::layOut(const QString &text, int index)
{
    const QFont &font = m_painter->font();
    LabelGlyphs label;
    label.text = text;
    label.font = sharedFont(font);
    label.generation = fontGeneration();

    // As drawText lays out one line of text centred in a rectangle: left-aligned in an unlimited
    // width, then placed.
    QTextLayout layout(text, font);
    QTextOption option;
    option.setTextDirection(m_painter->layoutDirection());
    option.setAlignment(Qt::AlignLeft);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(unlimitedLineWidth);
    line.setPosition(QPointF(0, 0));
    const bool oneLine = !layout.createLine().isValid();
    layout.endLayout();
    label.width = fixed(line.naturalTextWidth());
    label.advance = fixed(line.horizontalAdvance());
    label.height = fixed(line.ascent() + line.descent());

    // Glyphs of the font itself, left to right, go where drawText draws them. Anything else
    // (fallback fonts, right-to-left runs) is left to drawText.
    const QList<QGlyphRun> runs = line.glyphRuns();
    if (oneLine && runs.size() == 1 && !runs.first().isRightToLeft()
        && runs.first().rawFont() == rawFont(font)) {
        const QVector<quint32> indexes = runs.first().glyphIndexes();
        const QVector<QPointF> positions = runs.first().positions();
        label.glyphs.resize(3 * indexes.size());
        qint32 *glyph = label.glyphs.data();
        for (int i = 0; i < indexes.size(); ++i, glyph += 3) {
            glyph[0] = qint32(indexes[i]);
            glyph[1] = fixed(positions[i].x());
            glyph[2] = fixed(positions[i].y());
        }
        label.byGlyphs = true;
    }

    if (m_keeping == KeepInStore && m_store && index < m_store->size()) {
        LabelGlyphs &kept = (*m_store)[index];
        kept = std::move(label);
        return kept;
    }
    m_aside.append({index, std::move(label)});
    return m_aside.last().second;
}

void LabelPainter::drawGlyphs(const LabelGlyphs &label, const QRectF &box)
{
    const double width = label.width / 64.0, height = label.height / 64.0;
    const double yOffset = (box.height() - height) / 2;
    // QTextLine::draw places the line at the position it is given, truncated to 26.6 fixed point.
    const double x = box.x() + (box.width() - label.advance / 64.0) / 2, y = box.y() + yOffset;
    if (!(qAbs(x) < fixedPointLimit && qAbs(y) < fixedPointLimit)) {
        m_painter->drawText(box, Qt::AlignCenter, label.text);
        return;
    }
    const qint32 originX = qint32(x * 64), originY = qint32(y * 64);
    const int count = label.glyphs.size() / 3;
    m_indexes.resize(count);
    m_positions.resize(count);
    const qint32 *glyph = label.glyphs.constData();
    for (int i = 0; i < count; ++i, glyph += 3) {
        m_indexes[i] = quint32(glyph[0]);
        m_positions[i] = QPointF((originX + glyph[1]) / 64.0, (originY + glyph[2]) / 64.0);
    }
    m_run.setRawFont(rawFont(m_painter->font()));
    m_run.setRawData(m_indexes.constData(), m_positions.constData(), count);

    // drawText clips only a text that does not fit its rectangle.
    const QRectF bounds(box.x() + (box.width() - width) / 2, y, width, height);
    const bool clip = !box.contains(bounds);
    if (clip) {
        m_painter->save();
        m_painter->setClipRect(box, Qt::IntersectClip);
    }
    m_painter->drawGlyphRun(QPointF(0, 0), m_run);
    if (clip)
        m_painter->restore();
}

void LabelPainter::keepInto(LabelStore &store)
{
    for (auto &kept : m_aside) {
        const int index = kept.first;
        if (index < store.size() && !store.at(index).fits(kept.second.text, kept.second.font))
            store[index] = std::move(kept.second);
    }
    m_aside.clear();
}

const QFont &LabelPainter::sharedFont(const QFont &font)
{
    for (const QFont &known : qAsConst(m_fonts)) {
        if (known == font)
            return known;
    }
    m_fonts.append(font);
    return m_fonts.last();
}

// Font engines belong to the thread that loaded them: each painter asks for its own.
const QRawFont &LabelPainter::rawFont(const QFont &font)
{
    for (const auto &known : qAsConst(m_rawFonts)) {
        if (known.first.pixelSize() == font.pixelSize() && known.first == font)
            return known.second;
    }
    m_rawFonts.append({font, QRawFont::fromFont(font)});
    return m_rawFonts.last().second;
}
