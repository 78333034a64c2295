#ifndef BLL_SHAPE_RECORDS_H
#define BLL_SHAPE_RECORDS_H

#include <QtCore/QVariantMap>

// A rectangle, or an ellipse given by its bounding rectangle, with its own style overrides.
struct RectRecord
{
    double x;
    double y;
    double width;
    double height;
    QVariantMap vStyle;
};

// A line segment with its own style overrides.
struct LineRecord
{
    double x1;
    double y1;
    double x2;
    double y2;
    QVariantMap vStyle;
};

#endif // BLL_SHAPE_RECORDS_H
