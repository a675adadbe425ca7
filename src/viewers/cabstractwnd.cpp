#include "viewers/cabstractwnd.h"

#include "cglobaldata/cglobaldata.h"
#include "core/settings.h"
#include "platform/fileinfo.h"

#include <QAction>
#include <QDebug>
#include <QFileIconProvider>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

CAbstractWnd::CAbstractWnd(QWidget* parent) : CAbstractWnd(new CAbstractManager, parent) {}

CAbstractWnd::CAbstractWnd(CAbstractManager* manager, QWidget* parent)
    : QWidget(parent), m_manager(manager), m_controlBar(new QWidget(this)),
      m_openWithButton(new QToolButton(m_controlBar)), m_layout(new QVBoxLayout(this))
{
    m_layout->setSpacing(0);
    m_layout->setContentsMargins(0, 0, 0, 0);
    BuildControlBar();
    UpdateControlBar();
    connect(this, &CAbstractWnd::SigLoaded, this, &CAbstractWnd::LogLoadingCost, Qt::DirectConnection);
    // The subclass's constructor must have finished before its virtual operations are used.
    QTimer::singleShot(0, this, &CAbstractWnd::DelayedSetUp);
}

CAbstractWnd::~CAbstractWnd() { delete m_manager; }

void CAbstractWnd::BuildControlBar()
{
    m_controlBar->setObjectName(QStringLiteral("wnd_control"));
    m_controlBar->setAttribute(Qt::WA_StyledBackground);
    m_controlBar->setFixedHeight(40);
    m_layout->addWidget(m_controlBar);
    auto* bar = new QHBoxLayout(m_controlBar);
    bar->setContentsMargins(9, 4, 9, 4);

    m_openWithButton->setIconSize(QSize(32, 32));
    m_openWithButton->setToolTip(tr("Open With Default Application"));
    connect(m_openWithButton, &QToolButton::clicked, this,
            [this] { emit SigOpenByDefault(CGlobalData::Instance().Path()); });

    auto* reveal = new QToolButton(m_controlBar);
    reveal->setIcon(QFileIconProvider().icon(QFileIconProvider::Folder));
    reveal->setIconSize(QSize(32, 32));
    reveal->setToolTip(tr("Reveal in file manager"));
    connect(reveal, &QToolButton::clicked, this, [this] { emit SigRevealInExplorer(CGlobalData::Instance().Path()); });

    bar->addWidget(m_openWithButton);
    bar->addWidget(reveal);
    bar->addWidget(new QLabel(QStringLiteral("|"), m_controlBar));
}

void CAbstractWnd::DelayedSetUp()
{
    InitControlBar(qobject_cast<QBoxLayout*>(m_controlBar->layout()));
    for (QToolButton* button : m_controlBar->findChildren<QToolButton*>())
        button->setCursor(Qt::PointingHandCursor);
    qRegisterMetaType<QVariant>("QVariant");
    connect(m_manager, &CAbstractManager::SigPerformFinished, this, &CAbstractWnd::PerformFinished);
}

void CAbstractWnd::LogLoadingCost()
{
    const CGlobalData& data = CGlobalData::Instance();
    qDebug() << "loading cost " << m_timer.elapsed() << "ms" << data.Path() << data.MainType() << data.SubType();
}

void CAbstractWnd::InitControlBar(QBoxLayout* layout) { layout->addStretch(0); }

void CAbstractWnd::LoadHelper() { m_manager->Perform(); }

void CAbstractWnd::StartLoading()
{
    emit SigBe4Load();
    ResetControls();
    m_manager->m_err = QString();
    m_timer.start();
    Clear();
    m_manager->Stop();
    if (LoadsInHelperProgram()) {
        LoadHelper();
        return;
    }
    // Lets the loading page paint before the work begins; a file left meanwhile is not read.
    const QString path = CGlobalData::Instance().Path();
    QTimer::singleShot(0, this, [this, path] {
        if (CGlobalData::Instance().Path() == path)
            LoadHelper();
    });
}

void CAbstractWnd::UpdateControlBar()
{
    m_controlBar->setVisible(GetSettingValue(SettingKey::DisplayControls).toBool());
}

bool CAbstractWnd::IsInControlBar(const QPoint& globalPos) const
{
    return m_controlBar->isVisible() && m_controlBar->rect().contains(m_controlBar->mapFromGlobal(globalPos));
}

void CAbstractWnd::UpdateOpenWithIcon(bool folder)
{
    const QString path = CGlobalData::Instance().Path();
    QIcon icon;
    if (folder) {
        icon = QFileIconProvider().icon(QFileIconProvider::Folder);
    } else {
        const AssociatedProgram program = FindAssociatedProgram(path, false);
        icon = program.IsValid() && !program.icon.isNull() ? program.icon
                                                           : QFileIconProvider().icon(QFileIconProvider::File);
    }
    m_openWithButton->setIcon(icon);
}

void CAbstractWnd::AddContentWidget(QWidget* w) { m_layout->insertWidget(0, w, 1); }

QToolButton* CAbstractWnd::CreateToolButton(const QString& normalIcon, const QString& activeIcon,
                                            const QString& toolTip, const QString& shortcut, QAction* action)
{
    if (!action)
        action = new QAction(this);
    QIcon icon;
    icon.addPixmap(QPixmap(normalIcon), QIcon::Normal, QIcon::Off);
    icon.addPixmap(QPixmap(activeIcon), QIcon::Normal, QIcon::On);
    action->setIcon(icon);
    action->setToolTip(toolTip);
    if (!shortcut.isEmpty())
        action->setShortcut(QKeySequence(shortcut));
    auto* button = new QToolButton(this);
    button->setFocusPolicy(Qt::NoFocus);
    button->setDefaultAction(action);
    button->setIconSize(QSize(32, 32));
    return button;
}

void CAbstractWnd::hideEvent(QHideEvent* event)
{
    Clear();
    m_manager->Stop();
    QWidget::hideEvent(event);
}
