#include "int_geometry.h"

#include <climits>

namespace IntGeometry {

bool truncate(double value, int *result)
{
    // INT_MIN itself is left out so that no width can make QRect's width - 1 overflow.
    if (!(value > double(INT_MIN) && value < double(INT_MAX) + 1.0))
        return false;
    *result = int(value);
    return true;
}

namespace {
bool sumFits(int a, int b)
{
    const long long sum = static_cast<long long>(a) + b;
    return sum > INT_MIN && sum <= INT_MAX;
}
} // namespace

bool rect(double x, double y, double width, double height, QRect *result)
{
    int ix, iy, iw, ih;
    if (!truncate(x, &ix) || !truncate(y, &iy) || !truncate(width, &iw) || !truncate(height, &ih))
        return false;
    if (!sumFits(ix, iw) || !sumFits(iy, ih))
        return false;
    *result = QRect(ix, iy, iw, ih);
    return true;
}

bool line(double x1, double y1, double x2, double y2, QLine *result)
{
    int ix1, iy1, ix2, iy2;
    if (!truncate(x1, &ix1) || !truncate(y1, &iy1) || !truncate(x2, &ix2) || !truncate(y2, &iy2))
        return false;
    *result = QLine(ix1, iy1, ix2, iy2);
    return true;
}

} // namespace IntGeometry
