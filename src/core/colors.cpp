#include "bll_painted_item.h"

QColor Bll_Painted_Item::getTransformColor(const QVariant &value)
{
    QColor color;
    // The type is tested exactly: a double holding a whole number is no colour number.
    switch (value.userType()) {
    case QMetaType::Int: {
        // Qt::GlobalColor has 20 entries; QColor reads past its table for any other number.
        const int number = value.toInt();
        if (number >= Qt::color0 && number <= Qt::transparent)
            color = QColor(Qt::GlobalColor(number));
        break;
    }
    case QMetaType::QString:
        color.setNamedColor(value.toString());
        break;
    case QMetaType::QColor:
        // An invalid QColor's name is "#000000": keep it invalid instead of black.
        if (value.value<QColor>().isValid())
            color.setNamedColor(value.toString());
        break;
    default:
        break;
    }
    return color;
}
