#include "cconfirmdlg/cconfirmdlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QSequentialAnimationGroup>
#include <QTimer>
#include <QVBoxLayout>

namespace {

int& TipHomeX()
{
    static int x = -1; // the same bar layout in every dialog: measured once
    return x;
}

} // namespace

CConfirmDlg::CConfirmDlg(QString title, QWidget* parent) : CParentDlg(title, parent)
{
    m_bottomBar = new QWidget(this);
    m_bottomBar->setObjectName(QStringLiteral("widget_bottom"));
    m_bottomBar->setAttribute(Qt::WA_StyledBackground);
    m_bottomBar->setFixedHeight(38);
    auto* layout = new QHBoxLayout(m_bottomBar);
    layout->setContentsMargins(12, 6, 12, 6);
    m_tipLabel = new QLabel(m_bottomBar);
    m_tipLabel->setObjectName(QStringLiteral("label_info"));
    m_okButton = new QPushButton(tr("&Ok"), m_bottomBar);
    m_okButton->setObjectName(QStringLiteral("pushButton_ok"));
    m_cancelButton = new QPushButton(tr("&Cancel"), m_bottomBar);
    m_cancelButton->setObjectName(QStringLiteral("pushButton_cancel"));
    for (QPushButton* button : {m_okButton, m_cancelButton}) {
        button->setDefault(false);
        button->setAutoDefault(false);
    }
    layout->addWidget(m_tipLabel);
    layout->addStretch();
    layout->addWidget(m_okButton);
    layout->addWidget(m_cancelButton);
    BodyLayout()->addWidget(m_bottomBar);

    connect(m_okButton, &QPushButton::clicked, this, &CConfirmDlg::SlotBtnOkClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &CParentDlg::on_pushButton_close_clicked);
    SetTitle(title);
}

void CConfirmDlg::SetOkText(const QString& text) { m_okButton->setText(text); }

void CConfirmDlg::SetCancelVisible(bool visible) { m_cancelButton->setVisible(visible); }

void CConfirmDlg::SetDefaultButton(int which)
{
    m_okButton->setDefault(which == 0);
    m_okButton->setAutoDefault(which == 0);
    m_cancelButton->setDefault(which == 1);
    m_cancelButton->setAutoDefault(which == 1);
}

void CConfirmDlg::SlotBtnOkClicked()
{
    emit SigConfirmed();
    if (!m_closeOnOk) {
        m_closeOnOk = true;
        return;
    }
    CloseWithAccepted();
}

void CConfirmDlg::CloseWithAccepted()
{
    emit SigCloseClicked();
    m_rejected = false;
    on_pushButton_close_clicked();
}

int CConfirmDlg::exec()
{
    CParentDlg::exec();
    return !m_rejected;
}

void CConfirmDlg::ShowTip(const QString& text, int ms)
{
    if (!m_tipTimer) {
        m_tipTimer = new QTimer(this);
        m_tipTimer->setSingleShot(true);
        connect(m_tipTimer, &QTimer::timeout, m_tipLabel, &QLabel::hide);
    }
    if (TipHomeX() < 0) {
        const bool hidden = m_tipLabel->isHidden();
        m_tipLabel->show();
        m_bottomBar->layout()->activate();
        TipHomeX() = m_tipLabel->x();
        m_tipLabel->setHidden(hidden);
    }
    int extra = 0;
    if (m_tipLabel->isVisible()) {
        m_tipTimer->stop();
        if (text == m_tipLabel->text()) {
            Bounce(TipHomeX());
            extra = 150 + 450;
        }
    }
    m_tipLabel->show();
    m_tipLabel->setText(text);
    m_tipTimer->start(ms + extra);
}

void CConfirmDlg::Bounce(int homeX)
{
    const int y = m_tipLabel->y();
    auto* group = new QSequentialAnimationGroup(this);
    auto* out = new QPropertyAnimation(m_tipLabel, "pos", group);
    out->setDuration(150);
    out->setEndValue(QPoint(homeX + 60, y));
    auto* back = new QPropertyAnimation(m_tipLabel, "pos", group);
    back->setDuration(450);
    back->setEndValue(QPoint(homeX, y));
    back->setEasingCurve(QEasingCurve::OutBounce);
    group->addAnimation(out);
    group->addAnimation(back);
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

bool CConfirmDlg::ShowMessage(const QString& title, const QString& text, const QString& button, bool alert,
                              QWidget* parent)
{
    auto [dialog, label] = CreateDialog<QLabel>(title, true);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setText(text);
    QFont font = label->font();
    font.setPointSize(font.pointSize() + 3);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color:#333333;"));

    const int frame = 2 * dialog->ShadowWidth();
    dialog->setFixedSize(370 + frame, 190 + frame); // the shadow band lies outside the visible box
    dialog->HideLeftTitleWidget();
    dialog->SetOkText(button);
    const QRect over = parent ? parent->frameGeometry() : QGuiApplication::primaryScreen()->availableGeometry();
    dialog->move(over.center() - dialog->rect().center());
    dialog->SetCancelVisible(false);
    dialog->SetDefaultButton(0);
    if (alert)
        dialog->SetAlertStyle();
    return dialog->exec();
}
