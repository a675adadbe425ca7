#include "pdf/pdflayout.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

bool IsZoomChangeIgnored(qreal current, qreal requested)
{
    return qFuzzyCompare(current, MaxZoomFactor) && requested > MaxZoomFactor;
}

qreal ClampZoomFactor(qreal zoom)
{
    if (!(zoom > MinZoomFactor)) // NaN as well
        return MinZoomFactor;
    return qMin(zoom, MaxZoomFactor);
}

qreal ZoomInStep(qreal zoom)
{
    if (zoom <= 0.99)
        return 0.1;
    return zoom <= 1.99 ? 0.2 : 0.5;
}

qreal ZoomOutStep(qreal zoom)
{
    if (zoom <= 1.01)
        return 0.1;
    return zoom <= 2.01 ? 0.2 : 0.5;
}

qreal ZoomedIn(qreal zoom) { return zoom + ZoomInStep(zoom); }

qreal ZoomedOut(qreal zoom) { return zoom - ZoomOutStep(zoom); }

QVector<qreal> PageOffsets(const QVector<QSizeF>& pageSizes)
{
    QVector<qreal> offsets;
    if (pageSizes.isEmpty())
        return offsets;
    offsets.reserve(pageSizes.size() + 1);
    offsets.append(PageMargin);
    for (int i = 1; i < pageSizes.size(); ++i)
        offsets.append(std::floor(offsets.last() + pageSizes.at(i - 1).height() + PageSpacing));
    offsets.append(std::floor(offsets.last() + pageSizes.last().height() + PageMargin));
    return offsets;
}

qreal WidestPageWidth(const QVector<QSizeF>& pageSizes)
{
    qreal widest = 0;
    for (const QSizeF& size : pageSizes)
        widest = qMax(widest, size.width());
    return widest;
}

QRectF PageSceneRect(const QVector<qreal>& offsets, const QSizeF& pageSize, int page, qreal sx, qreal sy)
{
    return QRectF(PageMargin * sx, offsets.value(page) * sy, pageSize.width() * sx, pageSize.height() * sy);
}

QRectF SceneRectFor(qreal widestWidth, qreal totalHeight, qreal sx, qreal sy)
{
    return QRectF(0, 0, (widestWidth + 2 * PageMargin) * sx + 2, totalHeight * sy + 2);
}

int PageAtPosition(const QVector<qreal>& offsets, qreal position)
{
    const int pageCount = offsets.size() - 1;
    if (pageCount <= 0)
        return -1;
    const auto end = offsets.constBegin() + pageCount;
    const auto after = std::upper_bound(offsets.constBegin(), end, position);
    return qMax(0, int(after - offsets.constBegin()) - 1);
}

QPair<int, int> VisiblePageRange(const QVector<qreal>& offsets, qreal top, qreal height)
{
    return qMakePair(PageAtPosition(offsets, top), PageAtPosition(offsets, top + height));
}

bool IsPictureReleased(int page, int firstVisible, int lastVisible)
{
    return page >= 1 && (page < firstVisible - PictureKeepDistance || page > lastVisible + PictureKeepDistance);
}

int ScrollValueForPosition(const QVector<qreal>& offsets, qreal position, qreal sy)
{
    const int pageCount = offsets.size() - 1;
    if (pageCount <= 0)
        return 0;
    const int page = qBound(0, int(position), pageCount - 1);
    const qreal fraction = position - std::trunc(position);
    const qreal value =
        (offsets.at(page) - PageMargin) * sy + (offsets.at(page + 1) - offsets.at(page) - PageSpacing) * sy * fraction;
    return int(std::lround(value));
}

qreal PositionForScrollValue(const QVector<qreal>& offsets, int page, int value, qreal sy)
{
    if (page < 0 || page + 1 >= offsets.size() || sy <= 0)
        return page;
    const qreal span = offsets.at(page + 1) - offsets.at(page) - PageSpacing;
    if (span <= 0)
        return page;
    const qreal fraction = (value / sy - offsets.at(page) + PageMargin) / span;
    return page + qBound<qreal>(0, fraction, 0.999999);
}

qreal TrackedPosition(int scrollValue, qreal sy) { return sy > 0 ? (scrollValue + PageMargin) / sy : 0; }

int ProportionalScrollValue(int oldValue, int oldMaximum, int newMaximum)
{
    if (oldMaximum <= 0)
        return oldValue;
    return int(qreal(newMaximum) / oldMaximum * oldValue);
}

int WheelScrollSteps(int delta) { return -(delta / 8 / 15) * 3; }

QRect MagnifierRegion(const QPointF& scenePoint, const QPointF& pageTopLeft)
{
    const int x = int((scenePoint.x() - pageTopLeft.x() - MagnifierWidth / 4.0) * 2);
    const int y = int((scenePoint.y() - pageTopLeft.y() - MagnifierHeight / 4.0) * 2);
    return QRect(x, y, MagnifierWidth, MagnifierHeight);
}

qreal PictureCapScale(const QSizeF& pixels, int maxSide, qint64 maxBytes)
{
    if (pixels.isEmpty())
        return 1;
    qreal scale = qMin<qreal>(1, qMin(maxSide / pixels.width(), maxSide / pixels.height()));
    const qreal bytes = pixels.width() * pixels.height() * 4 * scale * scale;
    if (bytes > maxBytes)
        scale *= std::sqrt(maxBytes / bytes);
    return scale;
}

QPoint WrappedCursorPosition(const QPoint& pos, const QSize& viewSize, int margin)
{
    QPoint wrapped = pos;
    const int right = viewSize.width() - 1;
    const int bottom = viewSize.height() - 1;
    if (right <= 2 * margin || bottom <= 2 * margin)
        return pos;
    if (pos.x() <= margin)
        wrapped.setX(right - margin - 1);
    else if (pos.x() >= right - margin)
        wrapped.setX(margin + 1);
    if (pos.y() <= margin)
        wrapped.setY(bottom - margin - 1);
    else if (pos.y() >= bottom - margin)
        wrapped.setY(margin + 1);
    return wrapped;
}

QRectF SelectionRect(const QPointF& start, const QPointF& current)
{
    return QRectF(qMin(start.x(), current.x()), qMin(start.y(), current.y()), qAbs(current.x() - start.x()),
                  qAbs(current.y() - start.y()));
}

static bool StartsSelection(const QRectF& box, const QRectF& rect)
{
    return box.right() > rect.left() && box.bottom() > rect.top();
}

static bool EndsSelection(const QRectF& box, const QRectF& rect)
{
    const bool below = box.top() > rect.bottom();
    const bool rightAndLower = box.left() > rect.right() && box.bottom() > rect.bottom();
    return below || rightAndLower;
}

QList<int> SelectedTextBoxes(const QList<QRectF>& boxes, const QRectF& rect)
{
    QList<int> selected;
    bool started = false;
    for (int i = 0; i < boxes.size(); ++i) {
        const QRectF& box = boxes.at(i);
        if (!started)
            started = StartsSelection(box, rect);
        if (!started)
            continue;
        if (EndsSelection(box, rect))
            break;
        selected.append(i);
    }
    return selected;
}
