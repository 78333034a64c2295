#ifndef BLL_INT_GEOMETRY_H
#define BLL_INT_GEOMETRY_H

// Truncation of stored doubles to the integer geometry that some painters draw.
// Converting NaN, an infinity or a double beyond int to int is undefined, and so
// is the overflow inside QRect when x + width passes INT_MAX; such geometry is
// refused instead. Private to the library.

#include <QtCore/QLine>
#include <QtCore/QRect>

#include <climits>

namespace IntGeometry {

// Inline: where a box lies is worked out for every box added again once the index exists.

// Truncates toward zero; false when the value is not a number or lies outside int.
inline bool truncate(double value, int *result)
{
    // INT_MIN itself is left out so that no width can make QRect's width - 1 overflow.
    if (!(value > double(INT_MIN) && value < double(INT_MAX) + 1.0))
        return false;
    *result = int(value);
    return true;
}

// QRect(int(x), int(y), int(width), int(height)); false when a value cannot be
// truncated or the rectangle's far edges overflow int.
inline bool rect(double x, double y, double width, double height, QRect *result)
{
    const auto sumFits = [](int a, int b) {
        const long long sum = static_cast<long long>(a) + b;
        return sum > INT_MIN && sum <= INT_MAX;
    };
    int ix, iy, iw, ih;
    if (!truncate(x, &ix) || !truncate(y, &iy) || !truncate(width, &iw) || !truncate(height, &ih))
        return false;
    if (!sumFits(ix, iw) || !sumFits(iy, ih))
        return false;
    *result = QRect(ix, iy, iw, ih);
    return true;
}

// QLine(int(x1), int(y1), int(x2), int(y2)); false when a value cannot be truncated.
bool line(double x1, double y1, double x2, double y2, QLine *result);

} // namespace IntGeometry

#endif // BLL_INT_GEOMETRY_H
