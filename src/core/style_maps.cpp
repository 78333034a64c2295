#include "bll_painted_item.h"

#include "item_changes.h"
#include "style_keys.h"
#include "style_lookup.h"

void Bll_Painted_Item::initPenStyle()
{
    for (QVariantMap *style : {&m_rectStyle, &m_lineStyle, &m_ellipseStyle, &m_boxStyle,
                               &m_boxDVIStyle, &m_boxSimpleStyle}) {
        style->clear();
        style->insert(StyleKey::style, int(Qt::SolidLine));
        style->insert(StyleKey::width, 1);
        style->insert(StyleKey::color, int(Qt::black));
    }
    ItemChanges::stylesChanged(this);
}

namespace {
void mergeCommonKeys(QVariantMap &target, const QVariantMap &source)
{
    StyleLookup::merge(
            target, source,
            {&StyleKey::style, &StyleKey::width, &StyleKey::color, &StyleKey::brushColor});
}
} // namespace

void Bll_Painted_Item::setRectStyle(const QVariantMap &vStyle)
{
    mergeCommonKeys(m_rectStyle, vStyle);
}

void Bll_Painted_Item::setLineStyle(const QVariantMap &vStyle)
{
    mergeCommonKeys(m_lineStyle, vStyle);
}

void Bll_Painted_Item::setEllipseStyle(const QVariantMap &vStyle)
{
    mergeCommonKeys(m_ellipseStyle, vStyle);
}

void Bll_Painted_Item::setBoxDVIStyle(const QVariantMap &vStyle)
{
    mergeCommonKeys(m_boxDVIStyle, vStyle);
    ItemChanges::stylesChanged(this);
}

void Bll_Painted_Item::setBoxStyle(const QVariantMap &vStyle)
{
    StyleLookup::merge(m_boxStyle, vStyle,
                       {&StyleKey::style, &StyleKey::width, &StyleKey::color, &StyleKey::textColor,
                        &StyleKey::fillColor, &StyleKey::brushColor, &StyleKey::pickBorderColor,
                        &StyleKey::paramBorderColor, &StyleKey::pickParamBorderColor});
    ItemChanges::stylesChanged(this);
    // Every call sets the fill colour, from whatever "fillColor" is stored.
    setFillColor(StyleLookup::fillColorOrTransparent(
            StyleLookup::optionalColor(m_boxStyle, StyleKey::fillColor)));
}

void Bll_Painted_Item::setBoxSimpleStyle(const QVariantMap &vStyle)
{
    StyleLookup::merge(m_boxSimpleStyle, vStyle,
                       {&StyleKey::style, &StyleKey::width, &StyleKey::color, &StyleKey::textColor,
                        &StyleKey::fillColor, &StyleKey::brushColor, &StyleKey::isHoverColor,
                        &StyleKey::isSelectedColor});
    ItemChanges::stylesChanged(this);
    setFillColor(StyleLookup::fillColorOrTransparent(
            StyleLookup::optionalColor(m_boxSimpleStyle, StyleKey::fillColor)));
}

void Bll_Painted_Item::setBoxDVIFillColor(QColor fillColor)
{
    const QColor before = this->fillColor();
    setFillColor(StyleLookup::fillColorOrTransparent(fillColor));
    if (this->fillColor() != before)
        ItemChanges::stylesChanged(this);
}
