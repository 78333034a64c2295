#include "bll_painted_item_view.h"

#include "../core/item_access.h"
#include "../core/item_state.h"
#include "../core/retained_painting.h"
#include "../shapes/shape_records.h"
#include "view_access.h"

#include <QtCore/QMetaMethod>
#include <QtCore/QMetaObject>
#include <QtCore/QTimer>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QTouchEvent>
#include <QtGui/QWheelEvent>

#include <cmath>
#include <numeric>

namespace {

// One notch of a mouse wheel (120 eighths of a degree), and one press of + or −.
constexpr double zoomStep = 1.25;

// A wheel or pinch that makes no step for this long has come to rest.
constexpr int gestureRestMs = 150;

bool isFinite(double value)
{
    return std::isfinite(value);
}

// A view whose mapping is finite both ways: a scale above zero, and a translation that a scale
// does not carry past what doubles hold.
bool acceptable(double scale, double x, double y)
{
    return isFinite(scale) && scale > 0 && isFinite(x) && isFinite(y) && isFinite(scale * x)
            && isFinite(scale * y) && isFinite(1 / scale);
}

QPointF eventPosition(const QMouseEvent *event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->position();
#else
    return event->localPos();
#endif
}

} // namespace

struct BllViewItem::Private final : ItemChangeListener
{
    explicit Private(BllViewItem *view) : view(view)
    {
        rest.setSingleShot(true);
        rest.setInterval(gestureRestMs);
        QObject::connect(&rest, &QTimer::timeout, view, [view] { view->update(); });
    }

    BllViewItem *view;
    double scale = 1, x = 0, y = 0;
    double minimumScale = 1e-6, maximumScale = 1e6;
    bool interactive = true;
    bool paintsShapes = false;
    double minimumLabelSize = 4;

    // The scene's bounds are worked out when asked for after a change, and told once the event
    // loop runs: a plan added box by box is measured once, not once a box.
    mutable QRectF bounds;
    mutable bool boundsKnown = true;
    QRectF toldBounds;
    bool toldKnown = true;
    bool tellingBounds = false;

    // A drag or a pinch in progress, in item coordinates.
    bool dragging = false;
    QPointF dragFrom;
    bool pinching = false;
    QPointF pinchCentre;
    double pinchDistance = 0;
    // While a wheel or a pinch goes on, frames show the last crisp frame moved and scaled.
    QTimer rest;

    bool paintMoved(QPainter *painter) const;

    QRectF measureBounds() const;
    void sceneMayHaveChanged();
    void tellBounds();

    void boxesChanged(BoxFamily, const int *, int, Change change) override
    {
        // Switching sides or states leaves a box's bounds, taken with everything on, as they are.
        if (change == Added)
            sceneMayHaveChanged();
    }
    void familyCleared(BoxFamily) override { sceneMayHaveChanged(); }
    // Styles change the pens' reach.
    void stylesChanged() override { sceneMayHaveChanged(); }
    void shapesChanged() override
    {
        if (paintsShapes)
            sceneMayHaveChanged();
    }
};

QRectF BllViewItem::Private::measureBounds() const
{
    QRectF all;
    const auto include = [&all](const QRectF &rect) {
        if (!rect.isEmpty() && withinReach(rect))
            all = all.isEmpty() ? rect : all.united(rect);
    };
    // Where each box draws in a frame as Qt Quick paints it: the families start from a
    // painter's default tools, each from what the one before leaves. Measured in slices, so
    // that a large plan needs no second copy of itself.
    ItemState &state = ItemState::of(view);
    PainterTools tools;
    QVector<int> slice;
    QVector<QRectF> extents;
    for (int family = 0; family < BoxFamilyCount; ++family) {
        const BoxFamilyOps &ops = *boxFamilies[family];
        const int count = ops.count(*view);
        for (int first = 0; first < count; first += 4096) {
            slice.resize(qMin(4096, count - first));
            std::iota(slice.begin(), slice.end(), first);
            extents.resize(slice.size());
            ops.extents(*view, tools, LabelCut(), MarkCut(), &slice, false, extents.data());
            for (const QRectF &extent : extents)
                include(extent);
        }
        tools = ops.exit(*view, tools, state.leaving[family]);
    }
    if (paintsShapes) {
        for (const RectRecord &rect : ItemAccess::rects(*view))
            include(QRectF(rect.x, rect.y, rect.width, rect.height).normalized());
        for (const RectRecord &ellipse : ItemAccess::ellipses(*view))
            include(QRectF(ellipse.x, ellipse.y, ellipse.width, ellipse.height).normalized());
        // A line along an axis has no area of its own: it is measured with its ends' pixels.
        for (const LineRecord &line : ItemAccess::lines(*view))
            include(QRectF(QPointF(line.x1, line.y1), QPointF(line.x2, line.y2))
                            .normalized()
                            .adjusted(-0.5, -0.5, 0.5, 0.5));
    }
    return all;
}

// The last frame painted crisp, drawn where its scene now lies: what a gesture's frames show, at
// the cost of copying pixels. False where there is none for this device.
bool BllViewItem::Private::paintMoved(QPainter *painter) const
{
    const ItemState *state = ItemState::find(view);
    if (!state || !state->frame)
        return false;
    const KeptFrame &kept = *state->frame;
    const PaintTarget target = PaintTarget::of(painter);
    if (!target.retainable() || kept.target.size != target.size || kept.target.ratio != target.ratio
        || !kept.target.transform.isInvertible())
        return false;
    // From where the kept frame showed each scene point to where the view shows it now.
    const QTransform now = view->sceneToItem() * painter->worldTransform();
    painter->save();
    painter->setWorldTransform(kept.target.transform.inverted() * now);
    painter->drawImage(QPointF(0, 0), kept.pixels.image());
    painter->restore();
    return true;
}

void BllViewItem::Private::sceneMayHaveChanged()
{
    boundsKnown = false;
    // Nobody to tell: the bounds are measured when asked for, and the next listener told of the
    // next change whatever it was told before.
    if (!view->isSignalConnected(QMetaMethod::fromSignal(&BllViewItem::sceneBoundsChanged))) {
        toldKnown = false;
        return;
    }
    if (tellingBounds)
        return;
    tellingBounds = true;
    QMetaObject::invokeMethod(
            view, [this] { tellBounds(); }, Qt::QueuedConnection);
}

void BllViewItem::Private::tellBounds()
{
    tellingBounds = false;
    const QRectF now = view->sceneBounds();
    if (!toldKnown || now != toldBounds) {
        toldBounds = now;
        toldKnown = true;
        emit view->sceneBoundsChanged();
    }
}

BllViewItem::BllViewItem(QQuickPaintedItem *parent)
    : Bll_Painted_Item(parent), d(std::make_unique<Private>(this))
{
    ItemState::of(this).followers.append(d.get());
    setAcceptedMouseButtons(Qt::LeftButton);
    setAcceptTouchEvents(true);
}

BllViewItem::~BllViewItem()
{
    ItemState::of(this).followers.removeOne(d.get());
}

double BllViewItem::viewScale() const
{
    return d->scale;
}

double BllViewItem::viewX() const
{
    return d->x;
}

double BllViewItem::viewY() const
{
    return d->y;
}

void BllViewItem::setViewScale(double scale)
{
    setView(scale, d->x, d->y);
}

void BllViewItem::setViewX(double x)
{
    setView(d->scale, x, d->y);
}

void BllViewItem::setViewY(double y)
{
    setView(d->scale, d->x, y);
}

bool BllViewItem::setView(double scale, double x, double y)
{
    if (!isFinite(scale) || scale <= 0)
        return false;
    scale = qBound(d->minimumScale, scale, d->maximumScale);
    if (!acceptable(scale, x, y))
        return false;
    const bool scaled = scale != d->scale, movedX = x != d->x, movedY = y != d->y;
    d->scale = scale;
    d->x = x;
    d->y = y;
    if (scaled)
        emit viewScaleChanged();
    if (movedX)
        emit viewXChanged();
    if (movedY)
        emit viewYChanged();
    if (scaled || movedX || movedY)
        update();
    return true;
}

double BllViewItem::minimumScale() const
{
    return d->minimumScale;
}

double BllViewItem::maximumScale() const
{
    return d->maximumScale;
}

void BllViewItem::setMinimumScale(double scale)
{
    if (!isFinite(scale) || scale <= 0 || scale == d->minimumScale)
        return;
    d->minimumScale = scale;
    emit minimumScaleChanged();
    if (d->maximumScale < scale) {
        d->maximumScale = scale;
        emit maximumScaleChanged();
    }
    setView(d->scale, d->x, d->y);
}

void BllViewItem::setMaximumScale(double scale)
{
    if (!isFinite(scale) || scale <= 0 || scale == d->maximumScale)
        return;
    d->maximumScale = scale;
    emit maximumScaleChanged();
    if (d->minimumScale > scale) {
        d->minimumScale = scale;
        emit minimumScaleChanged();
    }
    setView(d->scale, d->x, d->y);
}

QRectF BllViewItem::sceneBounds() const
{
    if (!d->boundsKnown) {
        d->bounds = d->measureBounds();
        d->boundsKnown = true;
    }
    return d->bounds;
}

bool BllViewItem::isInteractive() const
{
    return d->interactive;
}

void BllViewItem::setInteractive(bool interactive)
{
    if (interactive == d->interactive)
        return;
    d->interactive = interactive;
    // A view that does not interact lets presses and touches reach the items under it.
    setAcceptedMouseButtons(interactive ? Qt::LeftButton : Qt::NoButton);
    setAcceptTouchEvents(interactive);
    if (!interactive) {
        d->dragging = false;
        d->pinching = false;
    }
    emit interactiveChanged();
}

bool BllViewItem::paintsShapes() const
{
    return d->paintsShapes;
}

void BllViewItem::setPaintsShapes(bool paints)
{
    if (paints == d->paintsShapes)
        return;
    d->paintsShapes = paints;
    d->sceneMayHaveChanged();
    update();
    emit paintsShapesChanged();
}

double BllViewItem::minimumLabelSize() const
{
    return d->minimumLabelSize;
}

void BllViewItem::setMinimumLabelSize(double pixels)
{
    if (!isFinite(pixels) || pixels < 0 || pixels == d->minimumLabelSize)
        return;
    d->minimumLabelSize = pixels;
    // Frames kept at another size painted other labels.
    ItemChanges::stylesChanged(this);
    update();
    emit minimumLabelSizeChanged();
}

QPointF BllViewItem::mapToScene(double x, double y) const
{
    return QPointF(x / d->scale + d->x, y / d->scale + d->y);
}

QPointF BllViewItem::mapFromScene(double x, double y) const
{
    return QPointF((x - d->x) * d->scale, (y - d->y) * d->scale);
}

QTransform BllViewItem::sceneToItem() const
{
    const double s = d->scale;
    return QTransform(s, 0, 0, s, -s * d->x, -s * d->y);
}

bool BllViewItem::zoomAt(double x, double y, double factor)
{
    if (!isFinite(x) || !isFinite(y) || !isFinite(factor) || factor <= 0)
        return false;
    const double scale = qBound(d->minimumScale, d->scale * factor, d->maximumScale);
    if (!isFinite(scale) || scale <= 0)
        return false;
    // The scene point under (x, y) stays there.
    const QPointF fixed = mapToScene(x, y);
    return setView(scale, fixed.x() - x / scale, fixed.y() - y / scale);
}

bool BllViewItem::panBy(double dx, double dy)
{
    if (!isFinite(dx) || !isFinite(dy))
        return false;
    // The picture follows the pointer: the scene point at the corner moves the other way.
    return setView(d->scale, d->x - dx / d->scale, d->y - dy / d->scale);
}

bool BllViewItem::showSceneRect(double x, double y, double width, double height)
{
    // Written so that NaN fails.
    if (!(isFinite(x) && isFinite(y) && width > 0 && height > 0 && isFinite(x + width)
          && isFinite(y + height) && this->width() > 0 && this->height() > 0))
        return false;
    const QRectF rect(x, y, width, height);
    // As large as it fits whole; then centred both ways.
    const double scale = qBound(d->minimumScale,
                                qMin(this->width() / rect.width(), this->height() / rect.height()),
                                d->maximumScale);
    const QPointF centre = rect.center();
    return setView(scale, centre.x() - this->width() / (2 * scale),
                   centre.y() - this->height() / (2 * scale));
}

bool BllViewItem::fitToScene()
{
    const QRectF bounds = sceneBounds();
    return showSceneRect(bounds.x(), bounds.y(), bounds.width(), bounds.height());
}

void BllViewItem::paint(QPainter *painter)
{
    if (d->rest.isActive() && d->paintMoved(painter))
        return;
    paintThrough(painter, sceneToItem());
}

void BllViewItem::paintThrough(QPainter *painter, const QTransform &sceneToDevice)
{
    const QTransform before = painter->worldTransform();
    // Zoomed in or at scale 1 every label the item draws is drawn, as large or larger.
    ItemState::of(this).smallestLabel = sceneToDevice.m11() < 1 ? d->minimumLabelSize : 0;
    painter->setWorldTransform(sceneToDevice, true);
    Bll_Painted_Item::paint(painter);
    if (d->paintsShapes) {
        // Ellipses go first so that the outlines of rectangles and lines stay on top of their
        // fills.
        paintEllipse(painter);
        paintRect(painter);
        paintLine(painter);
    }
    painter->setWorldTransform(before);
}

QTransform ViewAccess::boxesToItem(const Bll_Painted_Item &item)
{
    const auto *view = qobject_cast<const BllViewItem *>(&item);
    return view ? view->sceneToItem() : QTransform();
}

void ViewAccess::paintScene(BllViewItem &view, QPainter *painter)
{
    const QRectF bounds = view.sceneBounds();
    const double s = view.viewScale();
    view.paintThrough(painter, QTransform(s, 0, 0, s, -s * bounds.x(), -s * bounds.y()));
}

void BllViewItem::wheelEvent(QWheelEvent *event)
{
    const int notches = event->angleDelta().y();
    if (!d->interactive || notches == 0) {
        event->ignore();
        return;
    }
    if (zoomAt(event->position().x(), event->position().y(), std::pow(zoomStep, notches / 120.0)))
        d->rest.start();
    event->accept();
}

void BllViewItem::mousePressEvent(QMouseEvent *event)
{
    if (!d->interactive || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    d->dragging = true;
    d->dragFrom = eventPosition(event);
    event->accept();
}

void BllViewItem::mouseMoveEvent(QMouseEvent *event)
{
    if (!d->dragging) {
        event->ignore();
        return;
    }
    const QPointF at = eventPosition(event);
    panBy(at.x() - d->dragFrom.x(), at.y() - d->dragFrom.y());
    d->dragFrom = at;
    event->accept();
}

void BllViewItem::mouseReleaseEvent(QMouseEvent *event)
{
    if (!d->dragging) {
        event->ignore();
        return;
    }
    d->dragging = false;
    event->accept();
}

void BllViewItem::mouseUngrabEvent()
{
    d->dragging = false;
}

void BllViewItem::touchEvent(QTouchEvent *event)
{
    if (!d->interactive) {
        event->ignore();
        return;
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const auto &points = event->points();
    const auto positionOf = [](const QEventPoint &point) { return point.position(); };
#else
    const auto &points = event->touchPoints();
    const auto positionOf = [](const QTouchEvent::TouchPoint &point) { return point.pos(); };
#endif
    // Two fingers pinch: the scale follows their distance, the picture their centre.
    if (points.size() != 2 || event->type() == QEvent::TouchEnd
        || event->type() == QEvent::TouchCancel) {
        d->pinching = false;
        event->accept();
        return;
    }
    const QPointF a = positionOf(points.at(0)), b = positionOf(points.at(1));
    const QPointF centre = (a + b) / 2;
    const double distance = std::hypot(a.x() - b.x(), a.y() - b.y());
    if (d->pinching && d->pinchDistance > 0 && distance > 0) {
        panBy(centre.x() - d->pinchCentre.x(), centre.y() - d->pinchCentre.y());
        zoomAt(centre.x(), centre.y(), distance / d->pinchDistance);
        d->rest.start();
    }
    d->pinching = true;
    d->pinchCentre = centre;
    d->pinchDistance = distance;
    event->accept();
}

void BllViewItem::keyPressEvent(QKeyEvent *event)
{
    if (!d->interactive) {
        event->ignore();
        return;
    }
    const double w = width(), h = height();
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomAt(w / 2, h / 2, zoomStep);
        break;
    case Qt::Key_Minus:
        zoomAt(w / 2, h / 2, 1 / zoomStep);
        break;
    // An arrow shows more of the scene on its side: the picture moves the other way.
    case Qt::Key_Left:
        panBy(w / 10, 0);
        break;
    case Qt::Key_Right:
        panBy(-w / 10, 0);
        break;
    case Qt::Key_Up:
        panBy(0, h / 10);
        break;
    case Qt::Key_Down:
        panBy(0, -h / 10);
        break;
    case Qt::Key_Home:
        fitToScene();
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}
