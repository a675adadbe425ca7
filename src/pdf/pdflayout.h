#pragma once

#include <QList>
#include <QPair>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QVector>

// Page geometry and zoom arithmetic of the page view, in PDF points unless said otherwise.

constexpr qreal MinZoomFactor = 0.1;
constexpr qreal MaxZoomFactor = 6.0;
constexpr qreal PageMargin = 5;         // points above the first page and left of all pages
constexpr qreal PageSpacing = 10;       // points between two pages
constexpr int PictureKeepDistance = 25; // pages beyond the visible range lose their picture

// True when a request for `requested` must leave the zoom `current` untouched.
bool IsZoomChangeIgnored(qreal current, qreal requested);
qreal ClampZoomFactor(qreal zoom);
qreal ZoomInStep(qreal zoom);
qreal ZoomOutStep(qreal zoom);
// Not clamped: at the maximum a zoom-in must stay recognisable as one (IsZoomChangeIgnored).
qreal ZoomedIn(qreal zoom);
qreal ZoomedOut(qreal zoom);

// Offset of each page's top from the scene's top, then one entry for the total height.
QVector<qreal> PageOffsets(const QVector<QSizeF>& pageSizes);
qreal WidestPageWidth(const QVector<QSizeF>& pageSizes);
// In scene pixels, sx/sy being pixels per point.
QRectF PageSceneRect(const QVector<qreal>& offsets, const QSizeF& pageSize, int page, qreal sx, qreal sy);
QRectF SceneRectFor(qreal widestWidth, qreal totalHeight, qreal sx, qreal sy);

// The last page whose offset is at most `position`, at least 0; -1 without pages.
int PageAtPosition(const QVector<qreal>& offsets, qreal position);
// First and last page touched by the band [top, top + height], both in points.
QPair<int, int> VisiblePageRange(const QVector<qreal>& offsets, qreal top, qreal height);
bool IsPictureReleased(int page, int firstVisible, int lastVisible);

// Vertical scroll bar value that shows `position` (page index + fraction) at the top.
int ScrollValueForPosition(const QVector<qreal>& offsets, qreal position, qreal sy);
// Inverse of ScrollValueForPosition for the given page: page + fraction in [0, 1).
qreal PositionForScrollValue(const QVector<qreal>& offsets, int page, int value, qreal sy);
// The position in points that scroll tracking looks at.
qreal TrackedPosition(int scrollValue, qreal sy);
int ProportionalScrollValue(int oldValue, int oldMaximum, int newMaximum);

// Signed number of single steps for a wheel delta (positive delta scrolls up).
int WheelScrollSteps(int delta);

// The magnifier's region, in pixels of the page rendered at twice the view's resolution.
QRect MagnifierRegion(const QPointF& scenePoint, const QPointF& pageTopLeft);
constexpr int MagnifierWidth = 400;
constexpr int MagnifierHeight = 200;

// Factor (at most 1) by which a page picture of `pixels` must shrink to stay within the caps.
constexpr int MaxPictureSide = 8000;
constexpr qint64 MaxPictureBytes = qint64(256) * 1024 * 1024;
qreal PictureCapScale(const QSizeF& pixels, int maxSide = MaxPictureSide, qint64 maxBytes = MaxPictureBytes);

// Where a browsing drag puts the cursor when it reaches an edge of the view (local
// coordinates); `pos` itself when it is not at an edge.
QPoint WrappedCursorPosition(const QPoint& pos, const QSize& viewSize, int margin = 2);

QRectF SelectionRect(const QPointF& start, const QPointF& current);
// Indices of the text boxes, in page order, that a text selection over `rect` covers.
QList<int> SelectedTextBoxes(const QList<QRectF>& boxes, const QRectF& rect);
