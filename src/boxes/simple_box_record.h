#ifndef BLL_SIMPLE_BOX_RECORD_H
#define BLL_SIMPLE_BOX_RECORD_H

// One simple box; its state chooses the brush it is filled with.
struct BoxSimpleRecord
{
    double x;
    double y;
    double width;
    double height;
    bool isHover = false;
    bool isSelected = false;
};

#endif // BLL_SIMPLE_BOX_RECORD_H
