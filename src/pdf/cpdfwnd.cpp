#include "pdf/cpdfwnd.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "pdf/actionhandler.h"
#include "pdf/cpdfmanager.h"
#include "pdf/pdfview.h"

#include <QActionGroup>
#include <QBoxLayout>
#include <QDebug>
#include <QGraphicsScene>
#include <QLabel>
#include <QToolButton>

namespace {
const qint64 kFileSettingsLimit = 52428800; // 50 MiB
}

CPdfWnd::CPdfWnd(QWidget* parent, CPdfManager* manager)
    : CAbstractWnd(manager ? manager : new CPdfManager, parent), m_view(new PdfView(this)),
      m_actions(new ActionHandler(m_view))
{
    m_view->scene()->setBackgroundBrush(Qt::white);
    m_view->setMouseTool(PdfView::TextSelection);
    m_view->setMaximumFileSettingsCacheSize(kFileSettingsLimit);
    AddContentWidget(m_view);
    connect(PdfManager(), &CPdfManager::SigUpdatePDFView, this, &CPdfWnd::LoadPDF);
    connect(m_view, &PdfView::documentChanged, this, &CPdfWnd::Opened);
    connect(m_view, &PdfView::loadFailed, this, &CPdfWnd::OpenFailed);
    connect(m_view, &PdfView::scrollPositionChanged, this, [this](qreal, int page) { ShowPage(page); });
}

CPdfManager* CPdfWnd::PdfManager() const { return static_cast<CPdfManager*>(Manager()); }

QSize CPdfWnd::GetSize() const
{
    if (m_view->pageCount() > 0)
        return QSize(int(m_view->sceneRect().width()) + 200, 9000);
    return QSize(909, 9000);
}

void CPdfWnd::ResetControls()
{
    if (m_actualSize)
        m_actualSize->setChecked(true);
}

QToolButton* CPdfWnd::AddButton(const QString& normal, const QString& active, const QString& tip,
                                const QString& shortcut, QAction* action)
{
    QToolButton* button = CreateToolButton(normal, active, tip, shortcut, action);
    addAction(button->defaultAction());
    return button;
}

void CPdfWnd::InitControlBar(QBoxLayout* layout)
{
    QToolButton* fit = AddButton(QStringLiteral("://pdf/pdf_pagewidth_blue.png"),
                                 QStringLiteral("://pdf/pdf_pagewidth_gray.png"), tr("Fit Width"), QStringLiteral("W"));
    QToolButton* actual =
        AddButton(QStringLiteral("://pdf/pdf_width_blue.png"), QStringLiteral("://pdf/pdf_width_gray.png"),
                  tr("Actual Size"), QStringLiteral("A"));
    m_fitWidth = fit->defaultAction();
    m_actualSize = actual->defaultAction();
    auto* group = new QActionGroup(this);
    for (QAction* action : {m_fitWidth, m_actualSize}) {
        action->setCheckable(true);
        group->addAction(action);
    }
    m_actualSize->setChecked(true);
    connect(m_fitWidth, &QAction::triggered, this, &CPdfWnd::FitWidth);
    connect(m_actualSize, &QAction::triggered, this, &CPdfWnd::ActualSize);

    m_pageLabel = new QLabel(this);
    m_pageLabel->setToolTip(tr("Pages Count"));
    QFont font = m_pageLabel->font();
    font.setPixelSize(16);
    m_pageLabel->setFont(font);
    const QString previousIcon = QStringLiteral("://pdf/previous_page.png");
    const QString nextIcon = QStringLiteral("://pdf/next_page.png");
    QToolButton* previous = AddButton(previousIcon, previousIcon, tr("Go To Previous Page"), QStringLiteral("PgUp"),
                                      m_actions->action(ActionHandler::GoToPreviousPage));
    QToolButton* next = AddButton(nextIcon, nextIcon, tr("Go To Next Page"), QStringLiteral("PgDown"),
                                  m_actions->action(ActionHandler::GoToNextPage));
    addAction(m_actions->action(ActionHandler::GoToStartOfDocument));
    addAction(m_actions->action(ActionHandler::GoToEndOfDocument));
    m_actions->action(ActionHandler::GoToStartOfDocument)->setShortcut(QKeySequence(QStringLiteral("Home")));
    m_actions->action(ActionHandler::GoToEndOfDocument)->setShortcut(QKeySequence(QStringLiteral("End")));

    layout->addWidget(fit);
    layout->addWidget(actual);
    layout->addStretch(0);
    layout->addWidget(m_pageLabel);
    layout->addWidget(previous);
    layout->addWidget(next);
}

void CPdfWnd::ShowPage(int pageNumber)
{
    if (m_pageLabel)
        m_pageLabel->setText(QStringLiteral("%1/%2").arg(pageNumber + 1).arg(m_view->pageCount()));
}

void CPdfWnd::ActualSize(bool checked)
{
    if (checked)
        m_view->setZoomFactor(1.0);
}

void CPdfWnd::FitWidth(bool checked)
{
    m_view->setZoomFactor(1.0);
    const int sceneWidth = int(m_view->sceneRect().width());
    if (checked && sceneWidth > 0)
        m_view->setZoomFactor(qreal(width() - 20) / sceneWidth);
}

void CPdfWnd::Clear()
{
    m_view->close();
    m_view->setZoomFactor(1.0);
}

void CPdfWnd::LoadHelper()
{
    const CGlobalData& data = CGlobalData::Instance();
    if (data.SubType() == ST_PDF)
        LoadPDF(data.Path());
    else
        Manager()->Perform();
}

// A converted PDF has been reported by LoadPDF already, loaded or not; only a failed
// conversion is left to report.
void CPdfWnd::PerformFinished(QVariant v)
{
    Q_UNUSED(v);
    if (!Manager()->m_err.isEmpty())
        emit SigErr();
}

void CPdfWnd::LoadPDF(QString path)
{
    m_opening = path;
    m_view->load(path);
}

void CPdfWnd::Opened(const QString& path)
{
    if (path.isEmpty() || path != m_opening) // closed, or opened again for its forms
        return;
    m_opening.clear();
    ShowPage(qMax(0, int(m_view->pageNumber())));
    emit SigLoaded();
}

void CPdfWnd::OpenFailed(const QString& path, const QString& reason)
{
    if (path != m_opening)
        return;
    m_opening.clear();
    qDebug() << "PDF not opened:" << path << reason;
    Manager()->m_err = reason;
    emit SigErr();
}
