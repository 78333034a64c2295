#include "int_geometry.h"

namespace IntGeometry {

bool line(double x1, double y1, double x2, double y2, QLine *result)
{
    int ix1, iy1, ix2, iy2;
    if (!truncate(x1, &ix1) || !truncate(y1, &iy1) || !truncate(x2, &ix2) || !truncate(y2, &iy2))
        return false;
    *result = QLine(ix1, iy1, ix2, iy2);
    return true;
}

} // namespace IntGeometry
