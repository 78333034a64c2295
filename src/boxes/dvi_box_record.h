#ifndef BLL_DVI_BOX_RECORD_H
#define BLL_DVI_BOX_RECORD_H

// One DVI box: a label and up to eight side markers of unit length borderWidth.
struct BoxDVIRecord
{
    double x;
    double y;
    double width;
    double height;
    double borderWidth;
    bool showText = true;
    bool showBorder = true; // master switch of the four side switches below
    bool topBorder = false;
    bool bottomBorder = false;
    bool leftBorder = false;
    bool rightBorder = false;
};

#endif // BLL_DVI_BOX_RECORD_H
