#include "pdf/pagegeometry.h"

#include "pdf/pdflayout.h"

PageGeometry::PageGeometry(const QVector<QSizeF>& pageSizes, qreal scaleX, qreal scaleY)
    : m_sizes(pageSizes), m_offsets(PageOffsets(pageSizes)), m_scaleX(scaleX), m_scaleY(scaleY)
{}

QRectF PageGeometry::pageRect(int page) const
{
    return PageSceneRect(m_offsets, m_sizes.value(page), page, m_scaleX, m_scaleY);
}

QRectF PageGeometry::sceneRect() const
{
    if (m_sizes.isEmpty())
        return QRectF(0, 0, 1, 1);
    return SceneRectFor(WidestPageWidth(m_sizes), m_offsets.last(), m_scaleX, m_scaleY);
}

int PageGeometry::pageAt(const QPointF& scenePoint) const
{
    const int page = PageAtPosition(m_offsets, scenePoint.y() / m_scaleY);
    if (page < 0 || !pageRect(page).contains(scenePoint))
        return -1;
    return page;
}

QRectF PageGeometry::toPagePoints(int page, const QRectF& sceneRect) const
{
    const QRectF rect = pageRect(page);
    return QRectF((sceneRect.x() - rect.x()) / m_scaleX, (sceneRect.y() - rect.y()) / m_scaleY,
                  sceneRect.width() / m_scaleX, sceneRect.height() / m_scaleY);
}

QRectF PageGeometry::toScene(int page, const QRectF& pointsRect) const
{
    const QRectF rect = pageRect(page);
    return QRectF(rect.x() + pointsRect.x() * m_scaleX, rect.y() + pointsRect.y() * m_scaleY,
                  pointsRect.width() * m_scaleX, pointsRect.height() * m_scaleY);
}

QPointF PageGeometry::toPageFraction(int page, const QPointF& scenePoint) const
{
    const QRectF rect = pageRect(page);
    return QPointF((scenePoint.x() - rect.x()) / rect.width(), (scenePoint.y() - rect.y()) / rect.height());
}
