#include "banded_painting.h"

#include <QtCore/QLoggingCategory>
#include <QtCore/QSemaphore>
#include <QtCore/QThread>
#include <QtCore/QThreadPool>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

Q_DECLARE_LOGGING_CATEGORY(lcRetained)

namespace {

// Below these a frame costs less than handing it to other threads.
constexpr int minBoxes = 200;
constexpr int minRowsPerBand = 16;
constexpr int maxThreads = 64;

constexpr int rowMargin = PaintLimits::antialiasMargin;

// One pool for every item, whichever window it is in: items of several windows may paint at once
// on render threads of their own, and each frame then waits for its own bands only (a band left
// queued is taken back by the thread that paints the frame), so sharing costs no frame a wait
// on another's work beyond what the cores allow.
Q_GLOBAL_STATIC(QThreadPool, bandPool)

class BandTask : public QRunnable
{
public:
    BandTask(std::function<void()> work, QSemaphore &done) : m_work(std::move(work)), m_done(done)
    {
        setAutoDelete(false);
    }
    void run() override
    {
        m_work();
        m_done.release();
    }

private:
    std::function<void()> m_work;
    QSemaphore &m_done;
};

// An image of the device's size whose rows are zero until written: the memory comes from the
// system as it is touched, so a band pays only for the rows it paints.
QImage zeroedImage(const PaintTarget &target)
{
    const qsizetype stride = qsizetype(target.size.width()) * 4;
    void *bits = std::calloc(size_t(stride) * size_t(target.size.height()), 1);
    if (!bits)
        return QImage();
    QImage image(static_cast<uchar *>(bits), target.size.width(), target.size.height(), stride,
                 target.format, std::free, bits);
    image.setDevicePixelRatio(target.ratio);
    image.setDotsPerMeterX(qRound(target.dpiX / 0.0254));
    image.setDotsPerMeterY(qRound(target.dpiY / 0.0254));
    return image;
}

void copyRows(const QImage &from, uchar *to, qsizetype toStride, int top, int bottom)
{
    const qsizetype bytes = qMin<qsizetype>(from.bytesPerLine(), toStride);
    for (int y = top; y < bottom; ++y)
        std::memcpy(to + y * toStride, from.constScanLine(y), size_t(bytes));
}

} // namespace

struct BandedPainting::Bands::Band
{
    int top = 0, bottom = 0; // the device rows it paints for the frame
    // The boxes that reach them, in paint order: those of each slice, then all of them.
    std::vector<std::array<QVector<int>, BoxFamilyCount>> parts;
    QVector<int> boxes[BoxFamilyCount];
    QImage image;
    std::unique_ptr<LabelPainter> labels[BoxFamilyCount];
};

int BandedPainting::threadCount()
{
    bool set = false;
    const int wanted = qEnvironmentVariableIntValue("BLL_PAINT_THREADS", &set);
    return qBound(1, set && wanted > 0 ? wanted : QThread::idealThreadCount(), maxThreads);
}

void BandedPainting::inParallel(int parts, const std::function<void(int)> &work)
{
    if (parts <= 1) {
        work(0);
        return;
    }
    // Other threads take the parts after the first; this one does the first, then whatever part
    // no thread has started.
    QThreadPool *pool = bandPool();
    if (pool->maxThreadCount() != parts - 1)
        pool->setMaxThreadCount(parts - 1);
    QSemaphore done;
    std::vector<std::unique_ptr<BandTask>> tasks;
    for (int i = 1; i < parts; ++i) {
        tasks.push_back(std::make_unique<BandTask>([&work, i] { work(i); }, done));
        pool->start(tasks.back().get());
    }
    work(0);
    for (const auto &task : tasks) {
        if (pool->tryTake(task.get()))
            task->run();
    }
    done.acquire(parts - 1);
}

bool BandedPainting::pays(const PaintTarget &target, int boxCount)
{
    // Pixmaps are copied into through the painter, which places rows exactly at ratio 1.
    return (target.image || (target.pixmap && target.ratio == 1)) && target.plain
            && PaintLimits::wordPixels(target.format) && boxCount >= minBoxes
            && target.size.height() >= 2 * minRowsPerBand && threadCount() > 1;
}

BandedPainting::Bands::Bands(const PaintTarget &target, int parts)
    : m_toDevice(target.transform * QTransform::fromScale(target.ratio, target.ratio)),
      // Without rotation or shear an extent's rows are its own top and bottom, scaled: a million
      // boxes are not each mapped as rectangles.
      m_upright(m_toDevice.type() <= QTransform::TxScale && m_toDevice.m22() > 0),
      m_height(target.size.height())
{
    const int height = m_height;
    const int count = qMin(threadCount(), height / minRowsPerBand);
    m_bands.resize(count);
    for (int i = 0; i < count; ++i) {
        m_bands[i].top = int(qint64(height) * i / count);
        m_bands[i].bottom = int(qint64(height) * (i + 1) / count);
        m_bands[i].parts.resize(parts);
    }
}

BandedPainting::Bands::~Bands() = default;

void BandedPainting::Bands::file(int part, int family, const int *boxes, const QRectF *extents,
                                 int count)
{
    const double sy = m_toDevice.m22(), dy = m_toDevice.dy();
    for (int k = 0; k < count; ++k) {
        const QRectF &extent = extents[k];
        if (extent.isEmpty())
            continue;
        double top, bottom;
        if (m_upright) {
            top = extent.top() * sy + dy;
            bottom = extent.bottom() * sy + dy;
        } else {
            const QRectF rows = m_toDevice.mapRect(extent);
            top = rows.top();
            bottom = rows.bottom();
        }
        if (!(top <= bottom)) // not a number
            continue;
        // Rows beyond the device by more than the margin reach the same bands. Cut there, floor
        // and ceiling are a truncation and a step: std::floor is a library call on processors
        // without SSE 4.1, and a frame asks millions.
        const double first = std::clamp(top, -4.0, m_height + 4.0);
        const double last = std::clamp(bottom, -4.0, m_height + 4.0);
        const int from = int(first) - (first < int(first)) - rowMargin;
        const int to = int(last) + (last > int(last)) + rowMargin;
        for (Band &band : m_bands) {
            if (from < band.bottom && to >= band.top)
                band.parts[part][family].append(boxes[k]);
        }
    }
}

void BandedPainting::paint(const Bll_Painted_Item &item, QPainter *painter,
                           const PaintTarget &target, const PainterTools *tools, Bands &bands,
                           LabelStore *labels, qreal smallestLabel, bool marks)
{
    using Band = Bands::Band;
    // Every band gathers the boxes filed for its rows, each band on its own thread.
    const auto takeBoxes = [&](Band &band) {
        for (int family = 0; family < BoxFamilyCount; ++family) {
            QVector<int> &boxes = band.boxes[family];
            if (band.parts.size() == 1) {
                boxes = std::move(band.parts[0][family]);
                continue;
            }
            int size = 0;
            for (const auto &part : band.parts)
                size += part[family].size();
            boxes.reserve(size);
            for (auto &part : band.parts) {
                boxes += part[family];
                part[family] = QVector<int>();
            }
        }
    };

    // The device's rows, read by each band for its own: an image is read where it is, a pixmap
    // (which Qt copies while it is painted on) once.
    const QImage pixmapRows = target.pixmap ? target.pixmap->toImage() : QImage();
    const QImage &source = target.image ? *target.image : pixmapRows;
    // The device's rows are written through constBits(): bits() would detach an image that is
    // shared (a copy kept by Qt Quick, say), giving this image new memory while the painter on it
    // goes on with the old. Each band reads, then writes, only rows of its own.
    uchar *deviceBits = target.image ? const_cast<uchar *>(target.image->constBits()) : nullptr;
    const qsizetype deviceStride = target.image ? target.image->bytesPerLine() : 0;
    const QTransform toItem = bands.m_toDevice.inverted();

    const auto paintBand = [&](Band &band) {
        takeBoxes(band);
        band.image = zeroedImage(target);
        copyRows(source, band.image.bits(), band.image.bytesPerLine(), band.top, band.bottom);

        const QRectF rows(0, band.top - rowMargin, target.size.width(),
                          band.bottom - band.top + 2 * rowMargin);
        const RectGrid visible({toItem.mapRect(rows)});
        QPainter bandPainter(&band.image);
        bandPainter.setRenderHints(target.hints);
        bandPainter.setLayoutDirection(target.direction);
        bandPainter.setWorldTransform(target.transform);
        for (int family = 0; family < BoxFamilyCount; ++family) {
            tools[family].install(&bandPainter);
            band.labels[family] = std::make_unique<LabelPainter>(&bandPainter, &labels[family],
                                                                 LabelPainter::KeepAside);
            band.labels[family]->leaveOutBelow(smallestLabel);
            boxFamilies[family]->paint(item, &bandPainter,
                                       BoxSelection::only(band.boxes[family], visible),
                                       *band.labels[family], marks);
        }
        bandPainter.end();
        if (deviceBits)
            copyRows(band.image, deviceBits, deviceStride, band.top, band.bottom);
    };

    std::vector<Band> &all = bands.m_bands;
    inParallel(int(all.size()), [&](int i) { paintBand(all[i]); });

    if (!deviceBits) {
        painter->save();
        painter->resetTransform();
        painter->setCompositionMode(QPainter::CompositionMode_Source);
        for (const Band &band : all) {
            painter->setClipRect(QRect(0, band.top, target.size.width(), band.bottom - band.top));
            painter->drawImage(QPointF(0, 0), band.image);
        }
        painter->restore();
    }
    for (Band &band : all)
        for (int family = 0; family < BoxFamilyCount; ++family)
            band.labels[family]->keepInto(labels[family]);
    tools[BoxFamilyCount].install(painter);
    qCDebug(lcRetained, "full frame in %d bands", int(all.size()));
}
