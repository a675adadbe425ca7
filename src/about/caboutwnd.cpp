#include "about/caboutwnd.h"

#include "version.h"

#include "cconfirmdlg/cconfirmdlg.h"

#include <QBoxLayout>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const char kProjectPage[] = "https://keplo.github.io/vuel/";
const char kIssuesPage[] = "https://github.com/keplo/vuel/issues";
const char kSupportPage[] = "https://keplo.github.io/vuel/support";
const char kQtSite[] = "https://www.qt.io/";
const char kAccent[] = "#0288d1";

struct Credit {
    const char* objectName;
    const char* name;
    const char* url;
    const char* role;
};

const Credit kCredits[] = {
    {"label_taglib", "TagLib", "https://taglib.org/", QT_TRANSLATE_NOOP("CAboutWnd", "audio covers")},
    {"label_qscintilla", "QScintilla", "https://www.riverbankcomputing.com/software/qscintilla/",
     QT_TRANSLATE_NOOP("CAboutWnd", "text and code")},
    {"label_mpv", "libmpv", "https://mpv.io/", QT_TRANSLATE_NOOP("CAboutWnd", "audio and video")},
    {"label_poppler", "Poppler", "https://poppler.freedesktop.org/", QT_TRANSLATE_NOOP("CAboutWnd", "PDF pages")},
};

// The window has a fixed designed size, so its type has a fixed size too.
const char kStyleSheet[] = R"(
QLabel, QGroupBox { font-size: 13px; }
#label_head { font-size: 48px; font-weight: bold; color: #0288d1; }
#label_head_text { font-size: 22px; color: #333333; }
#label_head_text_sub { color: #808080; }
#label_pay_link { font-size: 17px; color: #333333; }
#scrollArea, #scrollArea_pay, #scrollAreaWidgetContents, #scrollAreaWidgetContents_pay,
#qt_scrollarea_viewport { background: transparent; border: none; }
QGroupBox { border: 1px solid #e6e6e6; border-radius: 3px; margin-top: 10px; padding: 14px 6px 6px 6px; }
QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 10px; padding: 0 4px;
                   color: #333; }
QGroupBox QLabel { color: #333333; }
)";

QString LinkHtml(const QString& url, const QString& text)
{
    return QStringLiteral("<a href=\"%1\" style=\"color:%2; text-decoration:none;\">%3</a>")
        .arg(url.toHtmlEscaped(), kAccent, text.toHtmlEscaped());
}

// Looks like a link, but the click is handled by the window (it is not an anchor).
QString PseudoLinkHtml(const QString& text)
{
    return QStringLiteral("<span style=\"color:%1;\">%2</span>").arg(kAccent, text.toHtmlEscaped());
}

QString CreditHtml(const Credit& credit, const QString& role)
{
    return LinkHtml(credit.url, credit.name) +
           QStringLiteral(" <span style=\"color:#808080;\">%1</span>").arg(role.toHtmlEscaped());
}

QLabel* NewLabel(const char* objectName, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::RichText);
    label->setOpenExternalLinks(true);
    return label;
}

QLabel* NewClickableLabel(const char* objectName, const QString& toolTip, QWidget* parent)
{
    QLabel* label = NewLabel(objectName, parent);
    label->setToolTip(toolTip);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

// A transparent scroll area whose contents widget gets `layout`.
QScrollArea* NewScrollPage(const QString& suffix, QLayout* layout, QWidget* page)
{
    auto* area = new QScrollArea(page);
    area->setObjectName(QStringLiteral("scrollArea") + suffix);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* contents = new QWidget(area);
    contents->setObjectName(QStringLiteral("scrollAreaWidgetContents") + suffix);
    contents->setLayout(layout);
    area->setWidget(contents);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(area);
    return area;
}

bool IsClickRelease(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    return mouse->button() == Qt::LeftButton && widget && widget->rect().contains(mouse->pos());
}

} // namespace

struct CAboutWnd::Form {
    QStackedWidget* stackedWidget = nullptr;
    QWidget* page = nullptr;
    QWidget* page_pay = nullptr;
    QLabel* label_head = nullptr;
    QLabel* label_head_text = nullptr;
    QLabel* label_head_text_sub = nullptr;
    QLabel* label_qt_logo = nullptr;
    QLabel* label_support = nullptr;
    QLabel* label_pay_pic = nullptr;
    QLabel* label_pay_link = nullptr;
};

CAboutWnd::CAboutWnd(QWidget* parent) : QWidget(parent), m_ui(new Form)
{
    BuildForm();
    m_backButton = new QPushButton(tr("Back"));
    m_backButton->setObjectName(QStringLiteral("pushButton_back"));
    m_backButton->setAutoDefault(false);
    for (QLabel* label : {m_ui->label_qt_logo, m_ui->label_support, m_ui->label_pay_link})
        label->installEventFilter(this);
    m_ui->stackedWidget->setCurrentWidget(m_ui->page);
    m_ui->label_head_text_sub->setText(tr("Version %1").arg(LinkHtml(kProjectPage, VUEL_VERSION)));
    QTimer::singleShot(0, this, &CAboutWnd::SlotDeferredSetup);
}

CAboutWnd::~CAboutWnd()
{
    if (m_backButton && !m_backButton->parent())
        delete m_backButton.data();
    delete m_ui;
}

void CAboutWnd::BuildForm()
{
    setObjectName(QStringLiteral("CAboutWnd"));
    setWindowTitle(QStringLiteral("Form"));
    setStyleSheet(kStyleSheet);
    m_ui->stackedWidget = new QStackedWidget(this);
    m_ui->stackedWidget->setObjectName(QStringLiteral("stackedWidget"));
    m_ui->stackedWidget->addWidget(BuildFirstPage());
    m_ui->stackedWidget->addWidget(BuildSupportPage());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_ui->stackedWidget);
}

QWidget* CAboutWnd::BuildFirstPage()
{
    m_ui->page = new QWidget;
    m_ui->page->setObjectName(QStringLiteral("page"));
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(18, 8, 18, 10);
    layout->setSpacing(4);

    m_ui->label_head = new QLabel(QStringLiteral("Vuel"));
    m_ui->label_head->setObjectName(QStringLiteral("label_head"));
    m_ui->label_head->setAlignment(Qt::AlignCenter);
    m_ui->label_head_text = new QLabel(tr("Preview files from your file manager with one key press."));
    m_ui->label_head_text->setObjectName(QStringLiteral("label_head_text"));
    m_ui->label_head_text->setAlignment(Qt::AlignCenter);
    m_ui->label_head_text->setWordWrap(true);
    m_ui->label_head_text_sub = NewLabel("label_head_text_sub", nullptr);
    m_ui->label_head_text_sub->setAlignment(Qt::AlignCenter);
    m_ui->label_head_text_sub->setToolTip(kProjectPage);

    layout->addWidget(m_ui->label_head);
    layout->addWidget(m_ui->label_head_text);
    layout->addWidget(m_ui->label_head_text_sub);
    layout->addSpacing(8);
    layout->addWidget(BuildLibraryGroup());
    layout->addSpacing(4);
    layout->addWidget(BuildAuthorGroup());
    layout->addStretch();
    NewScrollPage(QString(), layout, m_ui->page);
    return m_ui->page;
}

QWidget* CAboutWnd::BuildLibraryGroup()
{
    auto* group = new QGroupBox(tr("About Vuel"));
    group->setObjectName(QStringLiteral("groupBox_libs"));
    auto* layout = new QGridLayout(group);
    layout->setContentsMargins(10, 6, 10, 8);
    layout->setHorizontalSpacing(10);
    layout->setVerticalSpacing(4);
    auto* builtOn = new QLabel(tr("Built on:"), group);
    builtOn->setObjectName(QStringLiteral("label_built_on"));
    layout->addWidget(builtOn, 0, 0);
    int row = 1;
    for (const Credit& credit : kCredits) {
        QLabel* label = NewLabel(credit.objectName, group);
        label->setText(CreditHtml(credit, tr(credit.role)));
        label->setToolTip(credit.url);
        layout->addWidget(label, row++, 0);
    }
    m_ui->label_qt_logo = NewClickableLabel("label_qt_logo", kQtSite, group);
    m_ui->label_qt_logo->setPixmap(QPixmap(QStringLiteral(":/about/qtlogo_large.png")));
    m_ui->label_qt_logo->setAlignment(Qt::AlignCenter);
    m_ui->label_qt_logo->setAccessibleName(QStringLiteral("Qt"));
    layout->addWidget(m_ui->label_qt_logo, 0, 1, row, 1);
    layout->setColumnStretch(0, 1);
    return group;
}

QWidget* CAboutWnd::BuildAuthorGroup()
{
    auto* group = new QGroupBox(tr("About author"));
    group->setObjectName(QStringLiteral("groupBox_author"));
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(10, 6, 10, 8);
    layout->setSpacing(4);
    QLabel* freeLine = NewLabel("label_author", group);
    freeLine->setText(tr("Vuel is free software, made with care."));
    freeLine->setWordWrap(true);
    QLabel* contact = NewLabel("label_contact", group);
    contact->setText(tr("Questions, ideas or a bug? %1").arg(LinkHtml(kIssuesPage, tr("Open an issue"))));
    contact->setToolTip(kIssuesPage);
    contact->setWordWrap(true);
    m_ui->label_support = NewClickableLabel("label_support", tr("Ways to support Vuel"), group);
    m_ui->label_support->setText(PseudoLinkHtml(tr("Support Vuel")));
    layout->addWidget(freeLine);
    layout->addWidget(contact);
    layout->addWidget(m_ui->label_support, 0, Qt::AlignLeft);
    return group;
}

QWidget* CAboutWnd::BuildSupportPage()
{
    m_ui->page_pay = new QWidget;
    m_ui->page_pay->setObjectName(QStringLiteral("page_pay"));
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(18);
    m_ui->label_pay_pic = new QLabel;
    m_ui->label_pay_pic->setObjectName(QStringLiteral("label_pay_pic"));
    m_ui->label_pay_pic->setAlignment(Qt::AlignCenter);
    m_ui->label_pay_link = NewClickableLabel("label_pay_link", kSupportPage, nullptr);
    m_ui->label_pay_link->setText(tr("Thank you for using Vuel!") + QStringLiteral("<br>") +
                                  PseudoLinkHtml(tr("See how you can support it")));
    m_ui->label_pay_link->setAlignment(Qt::AlignCenter);
    m_ui->label_pay_link->setWordWrap(true);
    layout->addStretch(1);
    layout->addWidget(m_ui->label_pay_pic);
    layout->addWidget(m_ui->label_pay_link, 0, Qt::AlignHCenter);
    layout->addStretch(2);
    NewScrollPage(QStringLiteral("_pay"), layout, m_ui->page_pay);
    return m_ui->page_pay;
}

void CAboutWnd::SlotDeferredSetup()
{
    m_ui->label_pay_pic->setPixmap(QPixmap(QStringLiteral(":/about/support.png")));
    auto* host = qobject_cast<CConfirmDlg*>(property("CParentDlg").value<QObject*>());
    if (!host || !m_backButton)
        return;
    auto* bar = host->findChild<QWidget*>(QStringLiteral("widget_bottom"));
    auto* ok = host->findChild<QPushButton*>(QStringLiteral("pushButton_ok"));
    auto* barLayout = bar ? qobject_cast<QBoxLayout*>(bar->layout()) : nullptr;
    if (!barLayout || !ok)
        return;
    connect(m_backButton, &QPushButton::clicked, this, &CAboutWnd::SlotBackClicked);
    barLayout->insertWidget(barLayout->indexOf(ok), m_backButton, 0, Qt::Alignment());
    m_backButton->hide();
}

void CAboutWnd::SlotBackClicked()
{
    m_backButton->hide();
    m_ui->stackedWidget->setCurrentWidget(m_ui->page);
}

void CAboutWnd::ShowSupportPage()
{
    m_ui->stackedWidget->setCurrentWidget(m_ui->page_pay);
    if (m_backButton)
        m_backButton->show();
}

bool CAboutWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsClickRelease(watched, event))
        return QWidget::eventFilter(watched, event);
    if (watched == m_ui->label_support)
        ShowSupportPage();
    else if (watched == m_ui->label_qt_logo)
        QDesktopServices::openUrl(QUrl(kQtSite));
    else if (watched == m_ui->label_pay_link)
        QDesktopServices::openUrl(QUrl(m_ui->label_pay_link->toolTip()));
    return false;
}
