#pragma once

#include <QColor>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QPixmap>
#include <QRect>

// Piece number → where it is painted (window coordinates) and the piece itself.
using SHADOW_PIXS = QMap<int, QPair<QRect, QPixmap>>;

// The eight places of the shadow band around a W × H window with a band of `margin` pixels.
QMap<int, QRect> ShadowPieceRects(int width, int height, int margin);

class CParentDlg;

// Renders the soft shadow once and hands its eight pieces to the dialog.
class CWndShadowEffectHelper : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double m_blur_radius READ getBlurRadius WRITE SetBlurRadius NOTIFY blurRadiusChanged)
    Q_PROPERTY(QColor m_color READ getColor WRITE SetColor NOTIFY colorChanged)
public:
    // The shadow is cast by the body, which fills the window inside the margin.
    CWndShadowEffectHelper(int margin, QWidget* body, CParentDlg* parent);

    double getBlurRadius() const { return m_blur_radius; }
    QColor getColor() const { return m_color; }
    void Draw();

public slots:
    void SetBlurRadius(double radius);
    void SetColor(QColor color);
    void SetMargin(double margin);

signals:
    void blurRadiusChanged(double);
    void colorChanged(QColor);
    void SigPixChanged(SHADOW_PIXS map);

private:
    double m_blur_radius = 0;
    QColor m_color = QColor("black");
    int m_margin;
    QWidget* m_window;
};
