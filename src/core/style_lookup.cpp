#include "style_lookup.h"

#include "bll_painted_item.h"
#include "style_keys.h"

namespace StyleLookup {

void merge(QVariantMap &target, const QVariantMap &source,
           std::initializer_list<const QString *> keys)
{
    for (const QString *key : keys) {
        const auto it = source.constFind(*key);
        if (it != source.cend())
            target.insert(*key, *it);
    }
}

Qt::PenStyle penStyle(const QVariantMap &style)
{
    const int value = style.value(StyleKey::style).toInt();
    // Casting a number outside the enumeration to Qt::PenStyle is undefined.
    if (value < Qt::NoPen || value > Qt::CustomDashLine)
        return Qt::NoPen;
    return Qt::PenStyle(value);
}

int penWidth(const QVariantMap &style)
{
    return style.value(StyleKey::width).toInt();
}

QColor optionalColor(const QVariantMap &style, const QString &key)
{
    const auto it = style.constFind(key);
    return it == style.cend() ? QColor() : Bll_Painted_Item::getTransformColor(*it);
}

QPen familyPen(QPen base, const QVariantMap &style)
{
    base.setStyle(penStyle(style));
    base.setWidth(penWidth(style));
    return penWithColor(base, optionalColor(style, StyleKey::color));
}

QPen penWithColor(QPen base, const QColor &color)
{
    if (color.isValid())
        base.setColor(color);
    return base;
}

QBrush solidBrushOr(QBrush base, const QColor &color)
{
    if (color.isValid()) {
        base.setColor(color);
        base.setStyle(Qt::SolidPattern);
    }
    return base;
}

QColor fillColorOrTransparent(const QColor &color)
{
    return color.isValid() ? color : QColor(Qt::transparent);
}

} // namespace StyleLookup
