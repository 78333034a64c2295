#ifndef BLL_BENCH_SCENE_H
#define BLL_BENCH_SCENE_H

// The reference scenes of the benchmarks, and the draw calls they stand for.
//
// A scene is generated from a seed, fed to an item through its public methods,
// and turned into a DrawList: the draw calls that painting the scene makes, with
// every pen, brush, font and polygon computed beforehand. Replaying a DrawList on
// a bare QPainter is the fastest the item could paint the same calls (the benchmarks'
// limit) and the straightforward path that the label-cache test compares pixels with.

#include <QtCore/QLine>
#include <QtCore/QRectF>
#include <QtCore/QString>
#include <QtCore/QVariantMap>
#include <QtCore/QVector>
#include <QtGui/QBrush>
#include <QtGui/QFont>
#include <QtGui/QPainterPath>
#include <QtGui/QPen>
#include <QtGui/QPolygonF>

class Bll_Painted_Item;
class QImage;
class QPainter;

namespace BenchScene {

// Sides as bits, in the order top, bottom, left, right.
enum Side : quint8 { Top = 1, Bottom = 2, Left = 4, Right = 8 };

struct Box
{
    enum Kind : quint8 { Parameter, Dvi, Simple };
    Kind kind = Simple;
    QString id;
    double x = 0, y = 0, width = 0, height = 0, borderWidth = 0;
    quint8 picked = 0; // parameter box: sides picked
    quint8 withParam = 0; // parameter box: sides carrying the parameter 2.0
    quint8 markers = 0; // DVI box: sides with markers
    bool showText = true; // DVI box
    bool hover = false; // simple box
    bool selected = false; // simple box
};

struct Scene
{
    QVector<Box> boxes; // in the order they are added
    QVariantMap boxStyle, dviStyle, simpleStyle;
};

// About 40 % parameter, 30 % DVI and 30 % simple boxes scattered over a
// 1920 x 1080 item, nearly all large enough for a label, a few hovered and selected.
Scene mixedScene(int count, quint32 seed = 1);

// The same boxes spread over an area that grows with N, as dense as the 1,000-box scene
// everywhere: the boxes that overlap any one stay few at every N. It starts at the item's
// top left and reaches beyond the item from 1,000 boxes on.
Scene spreadScene(int count, quint32 seed = 1);

// The same boxes laid out on a grid that fills the 1920 x 1080 item, one a cell: from about
// 100,000 boxes on they are too small for labels.
Scene gridScene(int count, quint32 seed = 1);

// Boxes of about 20, 200 and 2,000 units in like numbers, mixed over an area as much covered as
// the spread scene's: plans whose rooms hold desks, for an index laid out for one size.
Scene nestedScene(int count, quint32 seed = 1);

// Adds the scene's boxes and styles to the item through its invokable methods.
void feed(Bll_Painted_Item &item, const Scene &scene);

// Draw calls with everything they need computed beforehand.
struct DrawList
{
    enum Op : quint8 { SetPen, SetBrush, SetFont, Text, Polygon, Rect, Ellipse, Line, Path };
    struct Step
    {
        Op op;
        int index; // into the vector of the op's kind
    };
    QVector<Step> steps;
    QVector<QPen> pens;
    QVector<QBrush> brushes;
    QVector<QFont> fonts;
    QVector<QRectF> textRects;
    QVector<QString> texts; // parallel to textRects
    QVector<QPolygonF> polygons;
    QVector<QRect> rects; // Rect and Ellipse
    QVector<QLine> lines;
    QVector<QPainterPath> paths;
};

// The calls that painting `scene` makes on a painter that starts with pen, brush and font.
DrawList boxDrawList(const Scene &scene, const QPen &pen, const QBrush &brush, const QFont &font);

// Rectangles, ellipses and lines for a derived class to paint, a sixth of them
// with a style of their own; the lines form one polyline whose path is filled.
struct Shape
{
    enum Kind : quint8 { Rect, Ellipse, Line };
    Kind kind = Rect;
    double a = 0, b = 0, c = 0, d = 0; // x, y, width, height; for a line x1, y1, x2, y2
    QVariantMap style;
};

struct ShapeScene
{
    QVector<Shape> shapes;
    QVariantMap rectStyle, lineStyle, ellipseStyle;
};

ShapeScene shapeScene(int count, quint32 seed = 1);
void feed(Bll_Painted_Item &item, const ShapeScene &scene);

// The calls of paintRect, paintEllipse and paintLine, in that order.
DrawList shapeDrawList(const ShapeScene &scene, const QBrush &brush);

// Turns antialiasing on and makes the calls, nothing else.
void replay(QPainter *painter, const DrawList &list);

// A frame as Qt Quick paints one for the item itself: the item's fill over the whole texture,
// then the item's paint(). The item keeps each frame and repaints only what changed since.
void paintFrame(Bll_Painted_Item &item, QImage &target);

} // namespace BenchScene

#endif // BLL_BENCH_SCENE_H
