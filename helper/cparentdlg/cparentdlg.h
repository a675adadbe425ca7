#pragma once

#include "cparentdlg/cwndshadoweffecthelper.h"

#include <QColor>
#include <QDialog>
#include <QPoint>

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

// Base of every window with the program's own look: own title bar, soft shadow on a
// translucent background, dragging by the title bar, resizing at the edges, fades.
class CParentDlg : public QDialog
{
    Q_OBJECT
public:
    CParentDlg(QString title, QWidget* parent = nullptr);
    ~CParentDlg() override;

    void SetTitle(const QString& title);
    void SetIcon(const QString& path);
    void SetContentWidget(QWidget* w);
    void SetContentSize(const QSize& s);
    void SetTitleBarHeight(int h);
    void SetShadowWidth(int w);
    void HideLeftTitleWidget();
    void SetInactiveShadowRadius(int r) { m_inactiveRadius = static_cast<qint16>(r); }
    void SetCloseOnEsc(bool close) { m_closeOnEsc = close; }
    void SetMovable(bool movable) { m_movable = movable; }
    void SetTitleBarVisible(bool visible);
    bool IsInTitleBar(const QPoint& globalPos) const;
    void SetShadowColor(const QColor& color) { m_shadowColor = color; }
    QColor ShadowColor() const { return m_shadowColor; }
    int ShadowWidth() const { return m_blended ? m_shadowWidth : 0; }
    int TitleBarHeight() const;
    void SetAlertStyle();

signals:
    void SigCloseClicked();

public slots:
    virtual void UpdateShadow();
    virtual void on_pushButton_close_clicked();
    virtual void on_pushButton_min_clicked();
    virtual void on_pushButton_max_clicked();
    int exec() override;

protected slots:
    virtual void SlotUpdateShadow(SHADOW_PIXS map);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

    QVBoxLayout* BodyLayout() const;  // "Layout_bg": title bar, content area, then whatever a subclass adds
    QGridLayout* FrameLayout() const; // "Layout": its margin is the shadow band
    QPushButton* CloseButton() const;
    void FadeOutAndClose();
    bool IsMaximizedOrFull() const { return isMaximized() || isFullScreen(); }
    void CheckBlending();

private:
    struct Form;
    void BuildForm();
    void ApplyStyleSheet();
    void UpdateResizeCursor(const QPoint& globalPos);
    void ShowShadow(qreal radius);
    void DrawShadow(const QString& key, qreal radius);
    void ApplyShadowMargin();
    // The edge a mouse press resizes at: the shadow band, or a strip inside the body without one.
    int ResizeBand() const { return m_blended ? m_shadowWidth : 4; }

    QPoint m_dragOffset;
    bool m_dragging = false;
    Form* m_ui;
    QWidget* m_content = nullptr;
    bool m_closeOnEsc = true;
    bool m_movable = true;
    QColor m_shadowColor = QColor("#4d4d4d");
    qint16 m_shadowWidth = 40;
    bool m_blended = true;
    qint16 m_inactiveRadius = 15;
    SHADOW_PIXS m_shadowPieces;
    // A preview shows the same few sizes again and again; a blur of a screen-sized window
    // costs tens of milliseconds each time the window is shown or activated.
    QList<QPair<QString, SHADOW_PIXS>> m_shadowCache;
};
