#ifndef BLL_PAINTED_ITEM_VIEW_H
#define BLL_PAINTED_ITEM_VIEW_H

#include "bll_painted_item.h"

#include <QtCore/QPointF>
#include <QtCore/QRectF>
#include <QtGui/QTransform>

#include <memory>

/**
 * A Bll_Painted_Item that shows its boxes (and, with paintsShapes, its shapes) as a plan bigger
 * than the item: they are given in scene coordinates through the same invokable methods, and the
 * view zooms and pans over them.
 *
 * An item point is (scene point − (viewX, viewY)) × viewScale: viewX and viewY are the scene
 * point at the item's top-left corner, viewScale the item units a scene unit takes. A frame is
 * what Bll_Painted_Item::paint() paints on a painter whose world transform is sceneToItem().
 * Only the boxes that reach the item cost anything to paint. Zoomed out (below scale 1), labels
 * too small to read are left out (minimumLabelSize); everything else is painted as the item
 * paints it.
 *
 * A change of the view repaints by itself; adding or changing boxes still calls for update(), as
 * for the item. A scale that is not a finite number above zero, a position, factor or distance
 * that is not finite, or a view whose mapping would not be finite, is refused: the view stays as
 * it was and nothing is notified; the invokable methods then return false. Scales beyond
 * minimumScale or maximumScale are clamped to them.
 *
 * When interactive (the default), the wheel zooms about the pointer (1.25 times a notch), a drag
 * with the left button pans, a two-finger pinch zooms about its centre, and with focus the keys
 * + and − zoom about the centre, the arrows pan by a tenth of the item, and Home fits the scene.
 * While the wheel turns or a pinch goes on, frames show the last crisp frame moved and scaled;
 * 150 ms after the last step the view paints crisp again.
 *
 * The QML module offers it as BllViewItem in `import Bll.PaintedItem 1.2`.
 */
class BLL_PAINTED_ITEM_EXPORT BllViewItem : public Bll_Painted_Item
{
    Q_OBJECT
    // It draws nothing before the boxes, so frames are kept between changes as for the item.
    Q_CLASSINFO("Bll.PaintsOverBoxes", "true")
    Q_PROPERTY(double viewScale READ viewScale WRITE setViewScale NOTIFY viewScaleChanged)
    Q_PROPERTY(double viewX READ viewX WRITE setViewX NOTIFY viewXChanged)
    Q_PROPERTY(double viewY READ viewY WRITE setViewY NOTIFY viewYChanged)
    Q_PROPERTY(
            double minimumScale READ minimumScale WRITE setMinimumScale NOTIFY minimumScaleChanged)
    Q_PROPERTY(
            double maximumScale READ maximumScale WRITE setMaximumScale NOTIFY maximumScaleChanged)
    Q_PROPERTY(QRectF sceneBounds READ sceneBounds NOTIFY sceneBoundsChanged)
    Q_PROPERTY(bool interactive READ isInteractive WRITE setInteractive NOTIFY interactiveChanged)
    Q_PROPERTY(bool paintsShapes READ paintsShapes WRITE setPaintsShapes NOTIFY paintsShapesChanged)

public:
    /// A view at scale 1 showing the scene from (0, 0), its scale within 1e-6 and 1e6.
    explicit BllViewItem(QQuickPaintedItem *parent = nullptr);
    ~BllViewItem() override;

    double viewScale() const;
    void setViewScale(double scale);
    double viewX() const;
    void setViewX(double x);
    double viewY() const;
    void setViewY(double y);
    /// Sets the scale and the scene point at the top-left corner at once, as one change; false
    /// when refused.
    Q_INVOKABLE bool setView(double scale, double x, double y);

    double minimumScale() const;
    /// A bound above the maximum raises the maximum to it.
    void setMinimumScale(double scale);
    double maximumScale() const;
    /// A bound below the minimum lowers the minimum to it.
    void setMaximumScale(double scale);

    /// Where everything the view paints may draw, in scene coordinates: every box as it draws
    /// (its label, markers and pens' reach included) and, while paintsShapes, the shapes'
    /// rectangles and lines. Boxes that paint nothing, or lie beyond where painting places
    /// shapes, are left out; an empty rectangle when nothing is left. Sides and states switched
    /// after a box was added draw within its bounds and are not measured again. The change is
    /// notified once the event loop runs, after a batch of additions.
    QRectF sceneBounds() const;

    bool isInteractive() const;
    void setInteractive(bool interactive);
    bool paintsShapes() const;
    void setPaintsShapes(bool paints);
    /// The smallest label drawn zoomed out: below scale 1, a label whose font the view shows
    /// smaller than this many item pixels high is left out. 4 by default; 0 draws every label,
    /// as the item does. At scale 1 and above every label is drawn. A size that is not a finite
    /// number of at least 0 is refused.
    double minimumLabelSize() const;
    void setMinimumLabelSize(double pixels);

    /// The scene point under item point (x, y), and the item point over scene point (x, y).
    Q_INVOKABLE QPointF mapToScene(double x, double y) const;
    Q_INVOKABLE QPointF mapFromScene(double x, double y) const;
    /// Scene to item coordinates: QTransform(s, 0, 0, s, −s·viewX, −s·viewY).
    QTransform sceneToItem() const;

    /// Multiplies the scale by factor, clamped, keeping the scene point under item point (x, y)
    /// there.
    Q_INVOKABLE bool zoomAt(double x, double y, double factor);
    /// Moves the picture by (dx, dy) item units, as a drag does.
    Q_INVOKABLE bool panBy(double dx, double dy);
    /// Shows the rectangle (scene coordinates) as large as the item holds it whole, its aspect
    /// kept, centred; false for a rectangle that is empty or not finite.
    Q_INVOKABLE bool showSceneRect(double x, double y, double width, double height);
    /// showSceneRect() of sceneBounds; false when the scene is empty.
    Q_INVOKABLE bool fitToScene();

signals:
    void viewScaleChanged();
    void viewXChanged();
    void viewYChanged();
    void minimumScaleChanged();
    void maximumScaleChanged();
    void sceneBoundsChanged();
    void interactiveChanged();
    void paintsShapesChanged();
    void minimumLabelSizeChanged();

protected:
    /// Paints the item's boxes through sceneToItem(), then, with paintsShapes, the ellipses,
    /// rectangles and lines over them.
    void paint(QPainter *painter) override;

    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseUngrabEvent() override;
    void touchEvent(QTouchEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Paints as paint() does, through another mapping (saving the whole scene).
    void paintThrough(QPainter *painter, const QTransform &sceneToDevice);
    friend struct ViewAccess;

    struct Private;
    std::unique_ptr<Private> d;
};

#endif // BLL_PAINTED_ITEM_VIEW_H
