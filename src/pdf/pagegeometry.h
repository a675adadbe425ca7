#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QVector>

// Where the pages lie in the scene at one zoom: hit tests and conversions between scene pixels
// and page points (sx/sy being pixels per point).
class PageGeometry
{
public:
    PageGeometry() = default;
    PageGeometry(const QVector<QSizeF>& pageSizes, qreal scaleX, qreal scaleY);

    int pageCount() const { return m_sizes.size(); }
    const QVector<qreal>& offsets() const { return m_offsets; }
    qreal scaleX() const { return m_scaleX; }
    qreal scaleY() const { return m_scaleY; }
    QRectF pageRect(int page) const;
    QRectF sceneRect() const;
    int pageAt(const QPointF& scenePoint) const; // -1 between and beside the pages
    QRectF toPagePoints(int page, const QRectF& sceneRect) const;
    QRectF toScene(int page, const QRectF& pointsRect) const;
    QPointF toPageFraction(int page, const QPointF& scenePoint) const; // 0..1 across the page

private:
    QVector<QSizeF> m_sizes;
    QVector<qreal> m_offsets;
    qreal m_scaleX = 1;
    qreal m_scaleY = 1;
};
