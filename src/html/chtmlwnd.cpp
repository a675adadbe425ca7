#include "html/chtmlwnd.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "html/htmlchunks.h"
#include "html/localonlyaccessmanager.h"
#include "html/urlpolicy.h"
#include "md/mdmarkers.h"

#include <QApplication>
#include <QClipboard>
#include <QDebug>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLayout>
#include <QWebElement>
#include <QWebFrame>
#include <QWebPage>
#include <QWebSettings>
#include <QWebView>

#include <utility>

// The style sheets live in a static library: nothing else would pull them into the program.
static void InitPageResources() { Q_INIT_RESOURCE(htmlpage); }

namespace {

// Room around the text and borders for tables: the page itself holds only what the converter wrote.
QUrl PageStyleUrl()
{
    QFile css(QStringLiteral(":/html/css/page.css"));
    if (!css.open(QIODevice::ReadOnly))
        return QUrl();
    return QUrl(QStringLiteral("data:text/css;charset=utf-8;base64,") + QString::fromLatin1(css.readAll().toBase64()));
}

} // namespace

CHtmlWnd::CHtmlWnd(QWidget* parent, const QString& converter) : CAbstractWnd(new CHtmlManager(converter), parent)
{
    InitPageResources();
    connect(static_cast<CHtmlManager*>(Manager()), &CHtmlManager::SigFirstPart, this, &CHtmlWnd::ShowFirstPart);
    installEventFilter(this);
    m_pieceTimer.setSingleShot(true);
    m_pieceTimer.setInterval(30); // room for the window to paint and take input between pieces
    connect(&m_pieceTimer, &QTimer::timeout, this, &CHtmlWnd::AppendNextPiece);
}

// The web engine costs some 30 MB and start-up time; most sessions never show a document.
QWebView* CHtmlWnd::EnsureView()
{
    if (m_view)
        return m_view;
    m_view = new QWebView(this);
    m_access = new LocalOnlyAccessManager(m_view);
    m_view->page()->setNetworkAccessManager(m_access);
    AddContentWidget(m_view);
    // Laid out at once, so the first page is measured at the view's own width.
    m_view->show();
    layout()->activate();
    m_view->page()->installEventFilter(this);
    m_view->page()->setLinkDelegationPolicy(QWebPage::DelegateAllLinks);
    connect(m_view, &QWebView::linkClicked, this, &CHtmlWnd::SlotLinkClicked);
    ApplyPageSettings();
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    connect(m_view, &QWebView::loadFinished, this, &CHtmlWnd::SlotWebLoaded);
    return m_view;
}

// The page's own settings, so that nothing else in the process can turn a guard back off.
void CHtmlWnd::ApplyPageSettings()
{
    QWebSettings* s = m_view->settings();
    s->setAttribute(QWebSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebSettings::LocalContentCanAccessFileUrls, true);
    s->setAttribute(QWebSettings::AutoLoadImages, true);
    // No script of ours needs the engine: the page height is read through the DOM. With it off,
    // whatever a document might smuggle past the converter stays text.
    s->setAttribute(QWebSettings::JavascriptEnabled, false);
    s->setAttribute(QWebSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebSettings::LocalStorageEnabled, false);
    s->setAttribute(QWebSettings::OfflineStorageDatabaseEnabled, false);
    s->setAttribute(QWebSettings::OfflineWebApplicationCacheEnabled, false);
    s->setAttribute(QWebSettings::PluginsEnabled, false);
    s->setAttribute(QWebSettings::JavaEnabled, false);
    // These reach the network past the access manager, or are of no use to a still page.
    s->setAttribute(QWebSettings::DnsPrefetchEnabled, false);
    s->setAttribute(QWebSettings::HyperlinkAuditingEnabled, false);
    s->setAttribute(QWebSettings::MediaEnabled, false);
    s->setAttribute(QWebSettings::WebGLEnabled, false);
    s->setAttribute(QWebSettings::WebAudioEnabled, false);
    s->setAttribute(QWebSettings::NotificationsEnabled, false);
    // A refused navigation (a refresh to elsewhere) would put an error page in place of the document.
    s->setAttribute(QWebSettings::ErrorPageEnabled, false);
    s->setFontFamily(QWebSettings::StandardFont, QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    s->setUserStyleSheetUrl(PageStyleUrl());
}

QSize CHtmlWnd::GetSize() const
{
    if (CGlobalData::Instance().SubType() == ST_MARKDOWN)
        return QSize(750, 600);
    return QSize(975, m_pageHeight);
}

bool CHtmlWnd::SizeKnownBeforeLoad() const { return CGlobalData::Instance().SubType() == ST_MARKDOWN; }

// A hidden page of the window's stack keeps its last size, and the web view hears of a new one only
// when shown: the page would be laid out once at the old size and again, whole, at the shown one.
void CHtmlWnd::TakeShownSize()
{
    if (isVisible() || !parentWidget())
        return;
    setGeometry(parentWidget()->contentsRect());
    layout()->setGeometry(rect()); // the layout hears of the size only when shown
    m_view->page()->setViewportSize(m_view->size());
}

void CHtmlWnd::Clear()
{
    m_waitingForResult = false;
    m_pageLoading = false;
    m_pendingPieces.clear();
    m_pieceTimer.stop();
    m_firstPart.clear();
    m_pageAfterLoad.clear();
    m_loadedAnnounced = false;
    if (!m_view || !std::exchange(m_showsPage, false)) // a blank page is not loaded blank again
        return;
    m_access->SetDocumentFolders({});
    m_blankLoad = true;
    m_view->load(QUrl(QStringLiteral("about:blank")));
}

void CHtmlWnd::LoadHelper()
{
    // A converter still running for a load given up is ended first; what it announces is dropped.
    m_waitingForResult = false;
    Manager()->Stop();
    m_firstPart.clear();
    m_pageAfterLoad.clear();
    m_loadedAnnounced = false;
    m_waitingForResult = true;
    CAbstractWnd::LoadHelper();
    // While the converter runs, once the loading page is up: the first view takes 100 ms and more.
    QTimer::singleShot(0, this, [this] {
        if (m_waitingForResult)
            EnsureView();
    });
}

void CHtmlWnd::ShowFirstPart(const QString& page)
{
    if (!m_waitingForResult || m_pageLoading)
        return;
    const QString start = CHtmlManager::PageStart();
    m_firstPart = page.mid(start.size(), page.size() - start.size() - int(qstrlen("</body></html>")));
    LoadPage(page);
}

void CHtmlWnd::PerformFinished(QVariant v)
{
    if (!m_waitingForResult)
        return;
    m_waitingForResult = false;
    const QString html = v.toString();
    if (!Manager()->m_err.isEmpty() || html.isEmpty()) {
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << Manager()->m_err;
        emit SigErr(QString());
        return;
    }
    if (ContinueFirstPart(html))
        return;
    if (m_pageLoading && !m_firstPart.isEmpty()) { // the first part's load is not cut short
        m_pageAfterLoad = html;
        return;
    }
    LoadPage(html);
}

// True when the page on show is the whole page's start: the rest is appended to it.
bool CHtmlWnd::ContinueFirstPart(const QString& html)
{
    const QString start = CHtmlManager::PageStart() + m_firstPart;
    const QString end = QStringLiteral("</body></html>");
    if (m_firstPart.isEmpty() || !html.startsWith(start) || !html.endsWith(end))
        return false;
    QStringList pieces =
        SplitTopLevelBlocks(html.mid(start.size(), html.size() - start.size() - end.size()), kPieceChars);
    if (PiecesWithin(pieces, kMaxPieceChars, kMaxPageChars - m_firstPart.size()) < pieces.size())
        return false;          // shown cut, with its notice on top
    m_pendingPieces += pieces; // after what is left of the first part's
    if (!m_pageLoading && !m_pieceTimer.isActive())
        m_pieceTimer.start();
    return true;
}

void CHtmlWnd::LoadPage(const QString& html)
{
    // The folder as named and the one the file really lies in (a linked document).
    const QString path = CGlobalData::Instance().Path();
    const QString real = QFileInfo(path).canonicalFilePath();
    EnsureView();
    TakeShownSize();
    m_access->SetDocumentFolders(
        {QFileInfo(path).absolutePath(), real.isEmpty() ? QString() : QFileInfo(real).absolutePath()});
    m_pageLoading = true;
    m_showsPage = true;
    // The engine lays a page out on this thread: a long one is shown first screen first.
    const QString start = CHtmlManager::PageStart();
    const QString end = QStringLiteral("</body></html>");
    if (html.startsWith(start) && html.endsWith(end)) {
        QString body = html.mid(start.size(), html.size() - start.size() - end.size());
        const QString marker = QString::fromUtf8(mdconvert::kCutMarker);
        bool cut = body.startsWith(marker);
        if (cut)
            body.remove(0, marker.size());
        m_pendingPieces = SplitTopLevelBlocks(body, kPieceChars);
        const int kept = PiecesWithin(m_pendingPieces, kMaxPieceChars, kMaxPageChars);
        if (kept < m_pendingPieces.size()) {
            m_pendingPieces.erase(m_pendingPieces.begin() + kept, m_pendingPieces.end());
            cut = true;
        }
        const QString first = m_pendingPieces.isEmpty() ? QString() : m_pendingPieces.takeFirst();
        m_view->setHtml(start + (cut ? CutNotice() : QString()) + first + end);
    } else {
        m_view->setHtml(html);
    }
}

QString CHtmlWnd::CutNotice() const
{
    return QStringLiteral("<p class=\"alert alert-warning\">%1</p>")
        .arg(tr("This page is too large to show whole; showing the first part.").toHtmlEscaped());
}

void CHtmlWnd::SlotWebLoaded(bool ok)
{
    if (m_blankLoad) {
        m_blankLoad = false;
        return;
    }
    if (!m_pageLoading)
        return;
    m_pageLoading = false;
    if (!ok) {
        m_waitingForResult = false;
        emit SigErr(QString());
        return;
    }
    m_pageHeight = m_view->page()->mainFrame()->findFirstElement(QStringLiteral("body")).geometry().height();
    if (!std::exchange(m_loadedAnnounced, true))
        emit SigLoaded();
    if (!m_pageAfterLoad.isEmpty()) {
        LoadPage(std::exchange(m_pageAfterLoad, QString()));
        return;
    }
    if (!m_pendingPieces.isEmpty())
        m_pieceTimer.start();
}

void CHtmlWnd::AppendNextPiece()
{
    if (m_pendingPieces.isEmpty() || !m_view)
        return;
    m_view->page()->mainFrame()->findFirstElement(QStringLiteral("body")).appendInside(m_pendingPieces.takeFirst());
    if (!m_pendingPieces.isEmpty())
        m_pieceTimer.start();
}

void CHtmlWnd::SlotLinkClicked(const QUrl& url)
{
    if (IsLinkHandedOut(url)) {
        QDesktopServices::openUrl(url);
        return;
    }
    QWebFrame* frame = m_view->page()->mainFrame();
    if (url.hasFragment() && url.adjusted(QUrl::RemoveFragment) == frame->url().adjusted(QUrl::RemoveFragment)) {
        frame->scrollToAnchor(url.fragment());
        return;
    }
    qDebug() << "link not followed" << url.toString(QUrl::RemoveUserInfo).left(200);
}

bool CHtmlWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_C && (key->modifiers() & Qt::ControlModifier)) {
            // An empty selection leaves the clipboard as the user had it.
            const QString text = m_view ? m_view->selectedText() : QString();
            if (!text.isEmpty())
                QApplication::clipboard()->setText(text);
            return true;
        }
    }
    return CAbstractWnd::eventFilter(watched, event);
}
