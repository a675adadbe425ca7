#include "picture/cpicwnd.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "picture/cimageview.h"
#include "picture/cpicturemanager.h"

#include <QAction>
#include <QBoxLayout>
#include <QDebug>
#include <QMovie>
#include <QToolButton>

CPicWnd::CPicWnd(QWidget* parent) : CAbstractWnd(new CPictureManager, parent), m_view(new CImageView(this))
{
    AddContentWidget(m_view);
    connect(static_cast<CPictureManager*>(Manager()), &CPictureManager::SigFullImageReady, m_view,
            &CImageView::SlotFullImageReady);
    connect(m_view, &CImageView::SigFullImageWanted, static_cast<CPictureManager*>(Manager()),
            &CPictureManager::RequestFullImage);
}

void CPicWnd::AddButton(QBoxLayout* layout, int id, const QString& normal, const QString& active, const QString& tip,
                        const QString& shortcut)
{
    QToolButton* button = CreateToolButton(normal, active, tip, shortcut, m_view->Action(id));
    addAction(m_view->Action(id));
    layout->addWidget(button);
    m_buttons.insert(id, button);
}

void CPicWnd::InitControlBar(QBoxLayout* layout)
{
    AddButton(layout, CImageView::ActualSize, QStringLiteral("://pdf/pdf_width_blue.png"),
              QStringLiteral("://pdf/pdf_width_gray.png"), tr("Actual Size"), QStringLiteral("A"));
    AddButton(layout, CImageView::Fit, QStringLiteral("://pdf/pdf_pagewidth_blue.png"),
              QStringLiteral("://pdf/pdf_pagewidth_gray.png"), tr("Fit Width"), QStringLiteral("W"));
    layout->addStretch();
    AddButton(layout, CImageView::TurnLeft, QStringLiteral("://left.png"), QStringLiteral("://left.png"),
              tr("Rotate Left"), QStringLiteral("Left"));
    AddButton(layout, CImageView::TurnRight, QStringLiteral("://right.png"), QStringLiteral("://right.png"),
              tr("Rotate Right"), QStringLiteral("Right"));
    for (QToolButton* button : qAsConst(m_buttons))
        button->setVisible(false);
}

void CPicWnd::Clear()
{
    m_view->ClearView();
    for (QToolButton* button : qAsConst(m_buttons))
        button->setVisible(false);
}

QSize CPicWnd::GetSize() const { return CGlobalData::Instance().SubType() != ST_UNKNOWN ? m_size : QSize(400, 300); }

void CPicWnd::ShowButtons(std::initializer_list<int> ids)
{
    for (int id : ids)
        if (QToolButton* button = m_buttons.value(id))
            button->setVisible(true);
}

void CPicWnd::PerformFinished(QVariant v)
{
    if (!Manager()->m_err.isEmpty()) {
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << Manager()->m_err;
        emit SigErr(QString());
        return;
    }
    const QSize full = static_cast<CPictureManager*>(Manager())->FullSize();
    if (v.userType() == qMetaTypeId<QMovie*>()) {
        auto* movie = v.value<QMovie*>();
        if (!movie) {
            emit SigErr(QString());
            return;
        }
        m_view->SetImage(movie, full);
        m_size = full;
    } else {
        const QImage image = v.value<QImage>();
        m_view->SetImage(image);
        m_size = image.size();
        if (full.isValid() && full != m_size)
            ShowButtons({CImageView::Fit, CImageView::ActualSize});
        if (static_cast<CPictureManager*>(Manager())->FullImageToCome())
            m_view->ExpectFullImage(full);
    }
    ShowButtons({CImageView::TurnLeft, CImageView::TurnRight});
    emit SigLoaded();
}
