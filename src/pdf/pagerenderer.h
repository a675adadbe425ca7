#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <QSet>
#include <QSharedPointer>
#include <QThreadPool>

#include <poppler-qt5.h>

struct RenderSource;

// Renders pages of one document on threads of its own and delivers the pictures queued on
// the owner's thread. Each render thread works on a Poppler document of its own, since one
// Poppler document must not be used by several threads at once.
class PageRenderer : public QObject
{
    Q_OBJECT
public:
    explicit PageRenderer(QObject* parent = nullptr);
    ~PageRenderer() override;

    void setDocument(const QString& fileName, Poppler::Document::RenderHints hints,
                     Poppler::Document::RenderBackend backend);
    // Drops the document: pending requests are cancelled, running ones aborted and ignored.
    void clear();
    // The next results belong to a new zoom: pending requests are cancelled.
    void invalidate();

    // False when the page is already on its way or there is no document.
    bool requestPage(int page, qreal xres, qreal yres, qreal devicePixelRatio);
    bool isPageInFlight(int page) const;
    // Requests for pages outside [first, last] that have not started yet are skipped.
    void setWantedRange(int first, int last);
    bool isIdle() const;
    // A part of a page; the result arrives as regionRendered with the returned ticket (0: none).
    int requestRegion(int page, qreal xres, qreal yres, const QRect& region);
    int threadCount() const;

signals:
    // The picture carries its device pixel ratio; it is null when rendering failed.
    void pageRendered(int page, const QImage& image);
    // The page was no longer wanted when its turn came.
    void pageSkipped(int page);
    void regionRendered(int ticket, const QImage& image);

private:
    void cancelPending();
    void deliverPage(quint64 generation, int page, const QImage& image, bool skipped);
    void deliverRegion(quint64 generation, int ticket, const QImage& image);

    QThreadPool m_pool;
    QSharedPointer<RenderSource> m_source;
    quint64 m_generation = 0;
    QSet<int> m_inFlight;
    int m_lastTicket = 0;
    int m_regionsInFlight = 0;
};
