#ifndef BLL_VIEW_PAINTING_H
#define BLL_VIEW_PAINTING_H

// What the library asks of a view beyond its public API. Private to the library.

class BllViewItem;
class QPainter;

struct ViewPainting
{
    // Paints the whole scene, its bounds' top-left corner at the painter's origin, at the view's
    // scale: what a view of that size at that corner shows.
    static void paintScene(BllViewItem &view, QPainter *painter);
};

#endif // BLL_VIEW_PAINTING_H
