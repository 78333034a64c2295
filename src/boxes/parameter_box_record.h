#ifndef BLL_PARAMETER_BOX_RECORD_H
#define BLL_PARAMETER_BOX_RECORD_H

// One parameter box. A side carries a parameter when its value is not exactly 1.0.
struct BoxRecord
{
    double x;
    double y;
    double width;
    double height;
    double borderWidth;
    bool topBorder = false;
    bool bottomBorder = false;
    bool leftBorder = false;
    bool rightBorder = false;
    double topParam = 1.0;
    double bottomParam = 1.0;
    double leftParam = 1.0;
    double rightParam = 1.0;
};

#endif // BLL_PARAMETER_BOX_RECORD_H
