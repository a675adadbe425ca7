#pragma once

#include "html/chtmlmanager.h"
#include "viewers/cabstractwnd.h"

#include <QSize>
#include <QStringList>
#include <QTimer>
#include <QUrl>

class LocalOnlyAccessManager;
class QWebView;

// Markdown documents as formatted pages. The page reads our style sheet and pictures in the
// document's folder, and nothing else; it runs no script.
class CHtmlWnd : public CAbstractWnd
{
    Q_OBJECT
public:
    explicit CHtmlWnd(QWidget* parent = nullptr, const QString& converter = CHtmlManager::DefaultProgram());

    QWebView* View() const { return m_view; } // none until made at idle or by the first document

    static constexpr int kPieceChars = 8192;
    // Far above what the md helper writes (it cuts a page to blocks the engine lays out quickly):
    // a guard should a page come from elsewhere.
    static constexpr int kMaxPieceChars = 1 << 20;
    static constexpr qint64 kMaxPageChars = 64 << 20;

public slots:
    QSize GetSize() const override;
    bool SizeKnownBeforeLoad() const override;
    MainType GetWndType() const override { return MT_MARKDOWN; }
    void Clear() override;
    bool LoadsInHelperProgram() const override { return true; }
    void WarmUp() override { EnsureView(); }

protected slots:
    void LoadHelper() override;
    void PerformFinished(QVariant v) override;

private slots:
    void SlotWebLoaded(bool ok);
    void SlotLinkClicked(const QUrl& url);
    void AppendNextPiece();
    void ShowFirstPart(const QString& page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWebView* EnsureView();
    void ApplyPageSettings();
    void TakeShownSize();
    QString CutNotice() const;
    void LoadPage(const QString& html);
    bool ContinueFirstPart(const QString& html);

    QWebView* m_view = nullptr;
    LocalOnlyAccessManager* m_access = nullptr;
    int m_pageHeight = 0;
    // The rest of a long page, shown after its first screen one piece per turn of the event loop.
    QStringList m_pendingPieces;
    QTimer m_pieceTimer;
    bool m_blankLoad = false;
    bool m_showsPage = false; // a document is on the view, or on its way
    // The body of the first part on show, which the whole page may continue.
    QString m_firstPart;
    // A whole page that differs from the first part on show, loaded once that one has loaded.
    QString m_pageAfterLoad;
    bool m_loadedAnnounced = false;
    // A result or a finished load that comes while these are false belongs to a load given up.
    bool m_waitingForResult = false;
    bool m_pageLoading = false;
};
