#ifndef BLL_VIEW_ACCESS_H
#define BLL_VIEW_ACCESS_H

// What the library asks of a view beyond its public API. Private to the library.

#include <QtGui/QTransform>

class Bll_Painted_Item;
class BllViewItem;
class QPainter;

struct ViewAccess
{
    // Where an item's boxes lie, in its own coordinates: a view's boxes lie in its scene, every
    // other item's where they were added. What picking, screen readers and the keyboard's ring
    // map through.
    static QTransform boxesToItem(const Bll_Painted_Item &item);

    // Paints the whole scene, its bounds' top-left corner at the painter's origin, at the view's
    // scale: what a view of that size at that corner shows.
    static void paintScene(BllViewItem &view, QPainter *painter);
};

#endif // BLL_VIEW_ACCESS_H
