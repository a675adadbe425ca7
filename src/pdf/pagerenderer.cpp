#include "pdf/pagerenderer.h"

#include "pdf/pdflayout.h"

#include <QMutex>
#include <QRunnable>
#include <QThread>

#include <atomic>
#include <limits>
#include <memory>

// What the render jobs of one opened document share; it outlives the renderer's interest in
// it until the last running job is done.
struct RenderSource {
    QString fileName;
    Poppler::Document::RenderHints hints;
    Poppler::Document::RenderBackend backend = Poppler::Document::SplashBackend;
    std::atomic<bool> aborted{false};
    std::atomic<int> wantedFirst{0};
    std::atomic<int> wantedLast{std::numeric_limits<int>::max()};
    QMutex mutex;
    QList<Poppler::Document*> idle; // documents no thread works on right now

    ~RenderSource() { qDeleteAll(idle); }

    std::unique_ptr<Poppler::Document> take()
    {
        {
            QMutexLocker lock(&mutex);
            if (!idle.isEmpty())
                return std::unique_ptr<Poppler::Document>(idle.takeLast());
        }
        std::unique_ptr<Poppler::Document> document(Poppler::Document::load(fileName));
        if (!document || document->isLocked())
            return nullptr;
        document->setRenderBackend(backend);
        document->setRenderHint(Poppler::Document::Antialiasing, hints.testFlag(Poppler::Document::Antialiasing));
        document->setRenderHint(Poppler::Document::TextAntialiasing,
                                hints.testFlag(Poppler::Document::TextAntialiasing));
        return document;
    }

    void giveBack(std::unique_ptr<Poppler::Document> document)
    {
        QMutexLocker lock(&mutex);
        idle.append(document.release());
    }
};

static bool IsAborted(const QVariant& closure)
{
    return static_cast<const std::atomic<bool>*>(closure.value<void*>())->load();
}

// The whole page at the device pixel ratio, shrunk where it would exceed the picture caps.
static QImage RenderWholePage(const Poppler::Page& page, qreal xres, qreal yres, qreal dpr, const QVariant& closure)
{
    const QSizeF points = page.pageSizeF();
    const qreal cap = PictureCapScale(QSizeF(points.width() * xres * dpr / 72, points.height() * yres * dpr / 72));
    QImage image = page.renderToImage(xres * dpr * cap, yres * dpr * cap, -1, -1, -1, -1, Poppler::Page::Rotate0,
                                      nullptr, nullptr, IsAborted, closure);
    image.setDevicePixelRatio(dpr * cap);
    return image;
}

static QImage RenderRegion(const Poppler::Page& page, qreal xres, qreal yres, const QRect& region,
                           const QVariant& closure)
{
    return page.renderToImage(xres, yres, region.x(), region.y(), region.width(), region.height(),
                              Poppler::Page::Rotate0, nullptr, nullptr, IsAborted, closure);
}

// A null region means the whole page.
static QImage RenderPage(RenderSource& source, int pageIndex, qreal xres, qreal yres, qreal dpr, const QRect& region)
{
    if (source.aborted)
        return QImage();
    std::unique_ptr<Poppler::Document> document = source.take();
    if (!document)
        return QImage();
    QImage image;
    const bool exists = pageIndex >= 0 && pageIndex < document->numPages();
    if (const std::unique_ptr<Poppler::Page> page(exists ? document->page(pageIndex) : nullptr); page) {
        const QVariant closure = QVariant::fromValue(static_cast<void*>(&source.aborted));
        image = region.isNull() ? RenderWholePage(*page, xres, yres, dpr, closure)
                                : RenderRegion(*page, xres, yres, region, closure);
    }
    source.giveBack(std::move(document));
    return source.aborted ? QImage() : image;
}

PageRenderer::PageRenderer(QObject* parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(qBound(1, QThread::idealThreadCount(), 4));
    m_pool.setExpiryTimeout(10000);
}

PageRenderer::~PageRenderer()
{
    clear();
    m_pool.waitForDone();
}

void PageRenderer::setDocument(const QString& fileName, Poppler::Document::RenderHints hints,
                               Poppler::Document::RenderBackend backend)
{
    clear();
    m_source = QSharedPointer<RenderSource>::create();
    m_source->fileName = fileName;
    m_source->hints = hints;
    m_source->backend = backend;
}

void PageRenderer::clear()
{
    cancelPending();
    if (m_source)
        m_source->aborted = true;
    m_source.reset();
}

void PageRenderer::invalidate() { cancelPending(); }

void PageRenderer::cancelPending()
{
    m_pool.clear();
    m_inFlight.clear();
    m_regionsInFlight = 0;
    ++m_generation;
}

bool PageRenderer::requestPage(int page, qreal xres, qreal yres, qreal devicePixelRatio)
{
    if (!m_source || m_inFlight.contains(page))
        return false;
    m_inFlight.insert(page);
    const QSharedPointer<RenderSource> source = m_source;
    const quint64 generation = m_generation;
    m_pool.start(QRunnable::create([this, source, generation, page, xres, yres, devicePixelRatio] {
        const bool wanted = page >= source->wantedFirst && page <= source->wantedLast;
        const QImage image = wanted ? RenderPage(*source, page, xres, yres, devicePixelRatio, QRect()) : QImage();
        QMetaObject::invokeMethod(
            this, [this, generation, page, image, wanted] { deliverPage(generation, page, image, !wanted); },
            Qt::QueuedConnection);
    }));
    return true;
}

bool PageRenderer::isPageInFlight(int page) const { return m_inFlight.contains(page); }

void PageRenderer::setWantedRange(int first, int last)
{
    if (!m_source)
        return;
    m_source->wantedFirst = first;
    m_source->wantedLast = last;
}

bool PageRenderer::isIdle() const { return m_inFlight.isEmpty() && m_regionsInFlight == 0; }

int PageRenderer::requestRegion(int page, qreal xres, qreal yres, const QRect& region)
{
    if (!m_source || region.isEmpty())
        return 0;
    const int ticket = ++m_lastTicket;
    ++m_regionsInFlight;
    const QSharedPointer<RenderSource> source = m_source;
    const quint64 generation = m_generation;
    m_pool.start(QRunnable::create([this, source, generation, ticket, page, xres, yres, region] {
        const QImage image = RenderPage(*source, page, xres, yres, 1, region);
        QMetaObject::invokeMethod(
            this, [this, generation, ticket, image] { deliverRegion(generation, ticket, image); },
            Qt::QueuedConnection);
    }));
    return ticket;
}

int PageRenderer::threadCount() const { return m_pool.maxThreadCount(); }

void PageRenderer::deliverPage(quint64 generation, int page, const QImage& image, bool skipped)
{
    if (generation != m_generation)
        return;
    m_inFlight.remove(page);
    if (skipped)
        emit pageSkipped(page);
    else
        emit pageRendered(page, image);
}

void PageRenderer::deliverRegion(quint64 generation, int ticket, const QImage& image)
{
    if (generation != m_generation)
        return;
    --m_regionsInFlight;
    emit regionRendered(ticket, image);
}
