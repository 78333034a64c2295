#ifndef BLL_STYLE_LOOKUP_H
#define BLL_STYLE_LOOKUP_H

// How painters read a style map, and how setters write one. Private to the library.

#include <QtCore/QVariantMap>
#include <QtGui/QBrush>
#include <QtGui/QColor>
#include <QtGui/QPen>

#include <initializer_list>

namespace StyleLookup {

// Copies the listed keys that source holds into target, values unconverted.
void merge(QVariantMap &target, const QVariantMap &source,
           std::initializer_list<const QString *> keys);

// "style" as a Qt::PenStyle: a missing key, a value that does not convert and a
// number outside the pen styles all give Qt::NoPen.
Qt::PenStyle penStyle(const QVariantMap &style);

// "width" through QVariant::toInt(): a missing key or a value that does not convert gives 0.
int penWidth(const QVariantMap &style);

// The colour of an optional key; invalid when the map does not hold the key.
// Reads without inserting, so painting never adds a key to a style map.
QColor optionalColor(const QVariantMap &style, const QString &key);

// A copy of base with the map's "style" and "width", and its "color" when valid.
QPen familyPen(QPen base, const QVariantMap &style);

// A copy of base in color when color is valid, else base unchanged.
QPen penWithColor(QPen base, const QColor &color);

// A copy of base filled solid in color when color is valid, else base unchanged.
QBrush solidBrushOr(QBrush base, const QColor &color);

// What setFillColor receives: an invalid colour would fill the item opaque
// black, so it becomes transparent, the base class's own default.
QColor fillColorOrTransparent(const QColor &color);

} // namespace StyleLookup

#endif // BLL_STYLE_LOOKUP_H
