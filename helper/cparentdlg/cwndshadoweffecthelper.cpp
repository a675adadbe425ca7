#include "cparentdlg/cwndshadoweffecthelper.h"

#include "cparentdlg/cparentdlg.h"

#include <QDebug>
#include <QImage>
#include <QPainter>

QT_BEGIN_NAMESPACE
extern Q_WIDGETS_EXPORT void qt_blurImage(QPainter* p, QImage& blurImage, qreal radius, bool quality, bool alphaOnly,
                                          int transposed = 0);
QT_END_NAMESPACE

QMap<int, QRect> ShadowPieceRects(int w, int h, int m)
{
    const auto rect = [](int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r, b)); };
    return {{0, rect(0, m, m - 1, h - 1 - m)}, {1, rect(w - m, m, w - 1, h - 1 - m)},
            {2, rect(m, 0, w - 1 - m, m - 1)}, {3, rect(m, h - m, w - 1 - m, h - 1)},
            {4, rect(0, 0, m - 1, m - 1)},     {5, rect(w - m, 0, w - 1, m - 1)},
            {6, rect(0, h - m, m - 1, h - 1)}, {7, rect(w - m, h - m, w - 1, h - 1)}};
}

CWndShadowEffectHelper::CWndShadowEffectHelper(int margin, QWidget* /*body*/, CParentDlg* parent)
    : QObject(parent), m_margin(margin), m_window(parent)
{}

void CWndShadowEffectHelper::SetBlurRadius(double radius)
{
    m_blur_radius = radius;
    emit blurRadiusChanged(radius);
}

void CWndShadowEffectHelper::SetColor(QColor color)
{
    m_color = color;
    emit colorChanged(color);
}

void CWndShadowEffectHelper::SetMargin(double margin) { m_margin = static_cast<int>(margin); }

void CWndShadowEffectHelper::Draw()
{
    if (m_margin == 0 || m_blur_radius > m_margin) {
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << "no shadow: margin" << m_margin << "radius" << m_blur_radius;
        return;
    }
    const int w = m_window->width();
    const int h = m_window->height();
    QImage body(w, h, QImage::Format_ARGB32_Premultiplied);
    body.fill(Qt::transparent);
    {
        QPainter p(&body);
        p.setPen(Qt::NoPen);
        p.setBrush(m_color);
        p.drawRect(m_margin, m_margin, w - 2 * m_margin, h - 2 * m_margin);
    }
    QImage blurred(w, h, QImage::Format_ARGB32_Premultiplied);
    blurred.fill(Qt::transparent);
    {
        QPainter p(&blurred);
        qt_blurImage(&p, body, m_blur_radius, false, true);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(blurred.rect(), m_color);
    }
    const QPixmap whole = QPixmap::fromImage(blurred);
    SHADOW_PIXS pieces;
    const QMap<int, QRect> rects = ShadowPieceRects(w, h, m_margin);
    for (auto it = rects.cbegin(); it != rects.cend(); ++it)
        pieces.insert(it.key(), qMakePair(it.value(), whole.copy(it.value())));
    emit SigPixChanged(pieces);
}
