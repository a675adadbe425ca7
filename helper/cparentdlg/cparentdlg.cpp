#include "cparentdlg/cparentdlg.h"

#include "cparentdlg/fade.h"
#include "cparentdlg/framehittest.h"
#include "platform/compositing.h"
#include "formparts/named.h"

#include <QDebug>
#include <QEvent>
#include <QFile>
#include <QGraphicsOpacityEffect>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTimeLine>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

struct CParentDlg::Form {
    QGridLayout* Layout;
    QWidget* wnd_bg;
    QVBoxLayout* Layout_bg;
    QWidget* wnd_title;
    QHBoxLayout* Layout_title;
    QLabel* label_icon;
    QWidget* widget_left;
    QLabel* label_min;
    QLabel* label_max;
    QLabel* label_close;
    QLabel* label_title_text;
    QWidget* widget_right;
    QPushButton* pushButton_min;
    QPushButton* pushButton_max;
    QPushButton* pushButton_close;
    QWidget* widget;
    QGridLayout* Layout_child;
};

namespace {

QLabel* BalanceLabel(const char* name, QWidget* parent)
{
    QLabel* label = Named<QLabel>(name, parent);
    label->setFixedWidth(26);
    return label;
}

} // namespace

CParentDlg::CParentDlg(QString title, QWidget* parent) : QDialog(parent), m_ui(new Form)
{
    setObjectName(QStringLiteral("CParentDlg"));
    BuildForm();
    m_blended = IsCompositing();
    ApplyShadowMargin();
    m_ui->Layout_child->setContentsMargins(0, 0, 0, 0);
    m_ui->pushButton_min->hide();
    m_ui->label_min->hide();
    m_ui->pushButton_max->hide();
    m_ui->label_max->hide();
    SetIcon(QString());
    m_ui->label_icon->setAlignment(Qt::AlignCenter);
    ApplyStyleSheet();
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    installEventFilter(this);
    m_ui->wnd_title->installEventFilter(this);
    SetTitle(title);
}

CParentDlg::~CParentDlg() { delete m_ui; }

void CParentDlg::BuildForm()
{
    Form& f = *m_ui;
    f.Layout = Named<QGridLayout>("Layout", this);
    f.Layout->setSpacing(0);
    f.wnd_bg = Named<QWidget>("wnd_bg", this);
    f.wnd_bg->setAttribute(Qt::WA_StyledBackground);
    f.Layout->addWidget(f.wnd_bg, 0, 0);

    f.Layout_bg = Named<QVBoxLayout>("Layout_bg", f.wnd_bg);
    f.Layout_bg->setSpacing(0);
    f.Layout_bg->setContentsMargins(1, 1, 1, 1);

    f.wnd_title = Named<QWidget>("wnd_title", f.wnd_bg);
    f.wnd_title->setAttribute(Qt::WA_StyledBackground);
    f.wnd_title->setFixedHeight(26);
    f.Layout_title = Named<QHBoxLayout>("Layout_title", f.wnd_title);
    f.Layout_title->setSpacing(6);
    f.Layout_title->setContentsMargins(6, 0, 6, 0);

    f.label_icon = BalanceLabel("label_icon", f.wnd_title);
    f.widget_left = Named<QWidget>("widget_left", f.wnd_title);
    auto* left = Named<QHBoxLayout>("Layout_title_left", f.widget_left);
    left->setContentsMargins(0, 0, 0, 0);
    f.label_min = BalanceLabel("label_min", f.widget_left);
    f.label_max = BalanceLabel("label_max", f.widget_left);
    f.label_close = BalanceLabel("label_close", f.widget_left);
    left->addWidget(f.label_min);
    left->addWidget(f.label_max);
    left->addWidget(f.label_close);
    f.label_title_text = Named<QLabel>("label_title_text", f.wnd_title);

    f.widget_right = Named<QWidget>("widget_right", f.wnd_title);
    auto* right = Named<QHBoxLayout>("Layout_title_right_btns", f.widget_right);
    right->setContentsMargins(0, 0, 0, 0);
    right->addStretch();
    f.pushButton_min = Named<QPushButton>("pushButton_min", f.widget_right);
    f.pushButton_max = Named<QPushButton>("pushButton_max", f.widget_right);
    f.pushButton_close = Named<QPushButton>("pushButton_close", f.widget_right);
    for (QPushButton* button : {f.pushButton_min, f.pushButton_max, f.pushButton_close}) {
        button->setFixedSize(26, 26);
        button->setFocusPolicy(Qt::NoFocus);
        right->addWidget(button);
    }

    f.Layout_title->addWidget(f.label_icon);
    f.Layout_title->addWidget(f.widget_left);
    f.Layout_title->addStretch(1);
    f.Layout_title->addWidget(f.label_title_text);
    f.Layout_title->addWidget(f.widget_right, 1);

    f.widget = Named<QWidget>("widget", f.wnd_bg);
    f.Layout_child = Named<QGridLayout>("Layout_child", f.widget);
    f.Layout_child->setSpacing(0);
    f.Layout_bg->addWidget(f.wnd_title);
    f.Layout_bg->addWidget(f.widget, 1);

    connect(f.pushButton_close, &QPushButton::clicked, this, &CParentDlg::on_pushButton_close_clicked);
    connect(f.pushButton_min, &QPushButton::clicked, this, &CParentDlg::on_pushButton_min_clicked);
    connect(f.pushButton_max, &QPushButton::clicked, this, &CParentDlg::on_pushButton_max_clicked);
}

void CParentDlg::ApplyStyleSheet()
{
    QFile file(QStringLiteral("://def.qss"));
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "Couldn't Find a Style File.";
        return;
    }
    setStyleSheet(QString::fromUtf8(file.readAll()));
}

void CParentDlg::SetTitle(const QString& title)
{
    m_ui->label_title_text->setText(title);
    setWindowTitle(title);
}

void CParentDlg::SetIcon(const QString& path)
{
    if (path.isEmpty()) {
        m_ui->label_icon->hide();
        return;
    }
    const int side = m_ui->wnd_title->height() - 3;
    m_ui->label_icon->setPixmap(QPixmap(path).scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_ui->label_icon->show();
    m_ui->label_icon->installEventFilter(this);
}

void CParentDlg::SetContentWidget(QWidget* w)
{
    if (w == m_content)
        return;
    if (m_content) {
        m_ui->Layout_child->removeWidget(m_content);
        m_content->deleteLater();
    }
    m_content = w;
    m_ui->Layout_child->addWidget(w, 0, 0);
}

void CParentDlg::SetContentSize(const QSize& s)
{
    const int frame = 2 * ShadowWidth() + 2;
    resize(s.width() + frame, s.height() + frame + TitleBarHeight());
}

int CParentDlg::TitleBarHeight() const { return m_ui->wnd_title->isHidden() ? 0 : m_ui->wnd_title->height(); }

void CParentDlg::SetTitleBarHeight(int h)
{
    m_ui->wnd_title->setFixedHeight(h);
    for (QPushButton* button : m_ui->widget_right->findChildren<QPushButton*>())
        button->setFixedSize(h, h);
    for (QLabel* label : {m_ui->label_icon, m_ui->label_min, m_ui->label_max, m_ui->label_close})
        label->setFixedWidth(h);
}

void CParentDlg::SetShadowWidth(int w)
{
    m_shadowWidth = static_cast<qint16>(w);
    ApplyShadowMargin();
}

// Without a compositing manager the shadow's translucent band would show black: the window
// is its body alone then.
void CParentDlg::CheckBlending()
{
    const bool blended = IsCompositing();
    if (blended == m_blended)
        return;
    m_blended = blended;
    ApplyShadowMargin();
}

void CParentDlg::ApplyShadowMargin()
{
    const int m = ShadowWidth();
    m_ui->Layout->setContentsMargins(m, m, m, m);
    if (m == 0)
        m_shadowPieces.clear();
}

void CParentDlg::HideLeftTitleWidget() { m_ui->widget_left->hide(); }

void CParentDlg::SetTitleBarVisible(bool visible) { m_ui->wnd_title->setVisible(visible); }

bool CParentDlg::IsInTitleBar(const QPoint& globalPos) const
{
    const QWidget* title = m_ui->wnd_title;
    return title->isVisible() && title->rect().contains(title->mapFromGlobal(globalPos));
}

void CParentDlg::SetAlertStyle()
{
    m_ui->wnd_title->setStyleSheet(QStringLiteral("background:#ff3333;"));
    m_ui->pushButton_close->setStyleSheet(
        QStringLiteral("QPushButton:hover{background:#ff4c4c;}QPushButton:pressed{background:#e52e2e;}"));
}

QVBoxLayout* CParentDlg::BodyLayout() const { return m_ui->Layout_bg; }
QGridLayout* CParentDlg::FrameLayout() const { return m_ui->Layout; }
QPushButton* CParentDlg::CloseButton() const { return m_ui->pushButton_close; }

void CParentDlg::UpdateShadow()
{
    if (ShadowWidth() > 0) // nothing to blend a shadow with otherwise
        ShowShadow(isActiveWindow() ? m_shadowWidth : m_inactiveRadius);
    m_ui->wnd_bg->setProperty("active", isActiveWindow());
    m_ui->wnd_bg->style()->unpolish(m_ui->wnd_bg);
    m_ui->wnd_bg->style()->polish(m_ui->wnd_bg);
}

void CParentDlg::ShowShadow(qreal radius)
{
    const QString key = QStringLiteral("%1x%2 %3 %4 %5")
                            .arg(width())
                            .arg(height())
                            .arg(radius)
                            .arg(m_shadowWidth)
                            .arg(m_shadowColor.rgba());
    const auto cached = std::find_if(m_shadowCache.cbegin(), m_shadowCache.cend(),
                                     [&key](const QPair<QString, SHADOW_PIXS>& entry) { return entry.first == key; });
    if (cached != m_shadowCache.cend())
        SlotUpdateShadow(cached->second);
    else
        DrawShadow(key, radius);
}

void CParentDlg::DrawShadow(const QString& key, qreal radius)
{
    constexpr int kCachedShadows = 6;
    auto* helper = new CWndShadowEffectHelper(m_shadowWidth, m_ui->wnd_bg, this);
    connect(helper, &CWndShadowEffectHelper::SigPixChanged, this, &CParentDlg::SlotUpdateShadow);
    connect(helper, &CWndShadowEffectHelper::SigPixChanged, this, [this, key](const SHADOW_PIXS& map) {
        if (m_shadowCache.size() == kCachedShadows)
            m_shadowCache.removeFirst();
        m_shadowCache.append({key, map});
    });
    helper->SetBlurRadius(radius);
    helper->SetColor(m_shadowColor);
    helper->Draw();
    helper->deleteLater(); // also when it drew nothing
}

void CParentDlg::SlotUpdateShadow(SHADOW_PIXS map)
{
    m_shadowPieces = map;
    update();
}

void CParentDlg::FadeOutAndClose()
{
    FadeWindowOpacity(this, windowOpacity(), 0.0, 130, [this] { close(); });
}

void CParentDlg::on_pushButton_close_clicked()
{
    emit SigCloseClicked();
    if (!parentWidget()) {
        FadeOutAndClose();
        return;
    }
    auto* effect = new QGraphicsOpacityEffect(this);
    setGraphicsEffect(effect);
    auto* line = new QTimeLine(300, this);
    connect(line, &QTimeLine::valueChanged, effect, [effect](qreal v) { effect->setOpacity(1.0 - v); });
    connect(line, &QTimeLine::finished, this, [this, line] {
        hide();
        setGraphicsEffect(nullptr);
        line->deleteLater();
    });
    line->start();
}

void CParentDlg::on_pushButton_min_clicked() { showMinimized(); }

void CParentDlg::on_pushButton_max_clicked()
{
    if (!isMaximized()) {
        m_ui->Layout->setContentsMargins(0, 0, 0, 0);
        showMaximized();
        return;
    }
    ApplyShadowMargin();
    showNormal();
    UpdateShadow();
}

int CParentDlg::exec()
{
    if (!isVisible()) {
        setWindowOpacity(0.0);
        FadeWindowOpacity(this, 0.0, 0.97, 180);
    }
    return QDialog::exec();
}

bool CParentDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this && (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate)) {
        UpdateShadow();
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_ui->wnd_title && m_ui->pushButton_max->isVisible() && m_ui->pushButton_max->isEnabled()) {
            m_ui->pushButton_max->click();
        } else if (watched == m_ui->label_icon) {
            m_ui->pushButton_close->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CParentDlg::mousePressEvent(QMouseEvent* event)
{
    if (!IsMaximizedOrFull() && event->button() == Qt::LeftButton) {
        const FrameZone zone = HitTestFrame(frameGeometry(), event->globalPos(), ResizeBand(),
                                            minimumWidth() != maximumWidth(), minimumHeight() != maximumHeight());
        if (zone != FrameZone::None && windowHandle() && windowHandle()->startSystemResize(EdgesOf(zone)))
            return;
        if (m_movable && IsInTitleBar(event->globalPos())) {
            m_dragOffset = event->globalPos() - frameGeometry().topLeft();
            m_dragging = true;
        }
    }
    QDialog::mousePressEvent(event);
}

void CParentDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging)
        move(event->globalPos() - m_dragOffset);
    else if (event->buttons() == Qt::NoButton)
        UpdateResizeCursor(event->globalPos());
    QDialog::mouseMoveEvent(event);
}

void CParentDlg::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

void CParentDlg::UpdateResizeCursor(const QPoint& globalPos)
{
    const FrameZone zone = IsMaximizedOrFull()
                               ? FrameZone::None
                               : HitTestFrame(frameGeometry(), globalPos, ResizeBand(),
                                              minimumWidth() != maximumWidth(), minimumHeight() != maximumHeight());
    if (zone == FrameZone::None)
        unsetCursor();
    else
        setCursor(CursorOf(zone));
}

void CParentDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (m_closeOnEsc)
        FadeOutAndClose();
}

void CParentDlg::paintEvent(QPaintEvent* event)
{
    if (IsMaximizedOrFull())
        return;
    QPainter painter(this);
    for (auto it = m_shadowPieces.cbegin(); it != m_shadowPieces.cend(); ++it)
        painter.drawPixmap(it.value().first, it.value().second);
    QDialog::paintEvent(event);
}

void CParentDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const QMap<int, QRect> rects = ShadowPieceRects(width(), height(), m_shadowWidth);
    for (auto it = m_shadowPieces.begin(); it != m_shadowPieces.end(); ++it)
        it.value().first = rects.value(it.key());
    update();
}

void CParentDlg::showEvent(QShowEvent* event)
{
    CheckBlending();
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, &CParentDlg::UpdateShadow);
}
