#include "box_label.h"

#include <QtGui/QFont>
#include <QtGui/QGuiApplication>
#include <QtGui/QPainter>
#include <QtGui/QTextLayout>

#include <atomic>

namespace BoxLabel {

namespace {
constexpr double largestPixelSize = 65535.0;
const QString labelFamily = QStringLiteral("Verdana");

// Qt's text layout turns the label's position into 26.6 fixed point, which is
// undefined for NaN, infinities and positions past +-2^25; QPainter draws no text
// past +-(2^23 - 1) anyway. Beyond int, x + w / 2 is too coarse to place a label.
bool placeable(const QRectF &box)
{
    constexpr double textLimit = 8388607.0;
    constexpr double intLimit = 2147483648.0;
    const QPointF centre = box.center();
    return qAbs(box.x()) < intLimit && qAbs(box.y()) < intLimit && qAbs(centre.x()) <= textLimit
            && qAbs(centre.y()) <= textLimit;
}

// QPainter::drawText lays a text out with an unlimited line width, so it never wraps.
constexpr double unlimitedLineWidth = 0x01000000;

// Characters that QPainter::drawText rewrites before laying out (line breaks,
// tabs, length variants) or that break a line: such labels are drawn by
// drawText itself, every time.
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

// Counts the fonts added to or removed from the application.
std::atomic<int> fontDatabaseChanges {0};

// Underlines and the like are drawn by a step of drawText that its public parts do not offer.
bool hasDecorations(const QFont &font)
{
    return font.underline() || font.overline() || font.strikeOut();
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

// One line of text laid out as QPainter::drawText(rect, Qt::AlignCenter, text)
// lays it out, with the figures drawText places it by.
struct Layout
{
    Layout(const QString &text, const QFont &font, Qt::LayoutDirection direction)
        : font(font), direction(direction), generation(fontGeneration()), text(text, font)
    {
        QTextOption option;
        option.setTextDirection(direction);
        option.setAlignment(Qt::AlignLeft);
        this->text.setTextOption(option);
        this->text.setCacheEnabled(true);
        this->text.beginLayout();
        QTextLine line = this->text.createLine();
        line.setLineWidth(unlimitedLineWidth);
        line.setPosition(QPointF(0, 0));
        oneLine = !this->text.createLine().isValid();
        this->text.endLayout();
        width = line.naturalTextWidth();
        advance = line.horizontalAdvance();
        height = line.ascent() + line.descent();
    }

    bool fits(const QFont &painterFont, Qt::LayoutDirection painterDirection) const
    {
        return direction == painterDirection && font == painterFont
                && generation == fontGeneration();
    }

    void draw(QPainter *painter, const QRectF &box) const
    {
        const double yOffset = (box.height() - height) / 2;
        const QRectF bounds(box.x() + (box.width() - width) / 2, box.y() + yOffset, width, height);
        // drawText clips only a text that does not fit its rectangle.
        const bool clip = !box.contains(bounds);
        if (clip) {
            painter->save();
            painter->setClipRect(box, Qt::IntersectClip);
        }
        text.lineAt(0).draw(painter,
                            QPointF(box.x() + (box.width() - advance) / 2, box.y() + yOffset));
        if (clip)
            painter->restore();
    }

    QFont font;
    Qt::LayoutDirection direction;
    int generation;
    QTextLayout text;
    bool oneLine = false;
    double width = 0;
    double advance = 0;
    double height = 0;
};

Cache::Cache() = default;
Cache::~Cache() = default;
Cache::Cache(const Cache &) { }
Cache &Cache::operator=(const Cache &other)
{
    if (this != &other)
        m_layout.reset();
    return *this;
}
Cache::Cache(Cache &&) noexcept = default;
Cache &Cache::operator=(Cache &&) noexcept = default;

int pixelSize(double width, double height)
{
    const double smaller = width < height ? width : height;
    const double size = smaller / 5.0 + 1.0;
    // Converting a double beyond int to int is undefined; such a label could not be drawn anyway.
    if (!(size < largestPixelSize + 1.0))
        return 0;
    return int(size);
}

QFont font(const QFont &base, int pixelSize)
{
    QFont font = base;
    font.setFamily(labelFamily);
    font.setPixelSize(pixelSize);
    return font;
}

void setFont(QPainter *painter, int pixelSize)
{
    painter->setFont(font(painter->font(), pixelSize));
}

void draw(QPainter *painter, const QRectF &box, const QString &boxId, Cache &cache)
{
    if (!placeable(box))
        return;
    // drawText draws nothing without a pen, whatever the text.
    if (painter->pen().style() == Qt::NoPen)
        return;
    const QFont &font = painter->font();
    const Qt::LayoutDirection direction = painter->layoutDirection();
    std::unique_ptr<Layout> &layout = cache.m_layout;
    if (!layout || !layout->fits(font, direction)) {
        if (laysOutAsOneLine(boxId) && !hasDecorations(font))
            layout = std::make_unique<Layout>(boxId, font, direction);
        else
            layout.reset();
    }
    if (layout && layout->oneLine)
        layout->draw(painter, box);
    else
        painter->drawText(box, Qt::AlignCenter, boxId);
}

} // namespace BoxLabel
