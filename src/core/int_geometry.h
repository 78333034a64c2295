#ifndef BLL_INT_GEOMETRY_H
#define BLL_INT_GEOMETRY_H

// Truncation of stored doubles to the integer geometry that some painters draw.
// Converting NaN, an infinity or a double beyond int to int is undefined, and so
// is the overflow inside QRect when x + width passes INT_MAX; such geometry is
// refused instead. Private to the library.

#include <QtCore/QLine>
#include <QtCore/QRect>

namespace IntGeometry {

// Truncates toward zero; false when the value is not a number or lies outside int.
bool truncate(double value, int *result);

// QRect(int(x), int(y), int(width), int(height)); false when a value cannot be
// truncated or the rectangle's far edges overflow int.
bool rect(double x, double y, double width, double height, QRect *result);

// QLine(int(x1), int(y1), int(x2), int(y2)); false when a value cannot be truncated.
bool line(double x1, double y1, double x2, double y2, QLine *result);

} // namespace IntGeometry

#endif // BLL_INT_GEOMETRY_H
