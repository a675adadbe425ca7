#include "font/cfontwnd.h"

#include "font/cfontmanager.h"
#include "font/cfontspecimenview.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QScrollArea>

CFontWnd::CFontWnd(QWidget* parent)
    : CAbstractWnd(new CFontManager, parent), m_view(new CFontSpecimenView), m_scroll(new QScrollArea(this))
{
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setBackgroundRole(QPalette::Base);
    AddContentWidget(m_scroll);
}

QSize CFontWnd::GetSize() const
{
    const QSize page = m_view->sizeHint();
    return QSize(page.width(), page.height() + (ControlBar()->isVisible() ? ControlBar()->height() : 0));
}

void CFontWnd::InitControlBar(QBoxLayout* layout)
{
    m_sentence = new QLineEdit(ControlBar());
    m_sentence->setObjectName(QStringLiteral("font_sample"));
    m_sentence->setPlaceholderText(tr("Type a sample text"));
    m_sentence->setClearButtonEnabled(true);
    m_sentence->setMinimumWidth(260);
    connect(m_sentence, &QLineEdit::textChanged, m_view, &CFontSpecimenView::SetSentence);
    layout->addWidget(m_sentence, 1);
}

void CFontWnd::Clear() { m_view->Clear(); }

void CFontWnd::PerformFinished(QVariant v)
{
    if (!v.canConvert<LoadedFont>()) {
        emit SigErr();
        return;
    }
    m_view->SetFont(v.value<LoadedFont>());
    // The user's own sentence stays from font to font; until there is one, the font's sample.
    if (m_sentence)
        m_sentence->setPlaceholderText(m_view->DefaultSentence());
    m_scroll->ensureVisible(0, 0);
    emit SigLoaded();
}
