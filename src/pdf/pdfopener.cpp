#include "pdf/pdfopener.h"

#include "stoppablefile/stoppablefile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRunnable>

#include <algorithm>

namespace {

const QSizeF FallbackPageSize(612, 792); // US Letter, for a page Poppler cannot give
const int DefaultTimeLimit = 20000;
const int FirstPages = 16; // enough for a first screen; the rest is assumed alike until read

QString Tr(const char* text) { return QCoreApplication::translate("PdfOpener", text); }

QVector<QSizeF> AssumedSizes(QVector<QSizeF> known, int count)
{
    const QSizeF last = known.last();
    known.resize(count);
    std::fill(known.begin() + FirstPages, known.end(), last);
    return known;
}

// Reading every page of a long document takes a while (the page tree is walked), so its first
// pages are told as soon as they are read.
void ReadPages(OpenedPdf& result, const PdfOpener::FirstPagesRead& firstPagesRead)
{
    const int count = qMax(0, result.document->numPages());
    for (int i = 0; i < count; ++i) {
        Poppler::Page* page = result.document->page(i);
        result.pages.append(page);
        const QSizeF size = page ? page->pageSizeF() : QSizeF();
        result.pageSizes.append(size.isEmpty() ? FallbackPageSize : size);
        if (i + 1 == FirstPages && count > 2 * FirstPages && firstPagesRead)
            firstPagesRead(AssumedSizes(result.pageSizes, count));
    }
    for (int i = 0; i < count; ++i) {
        const QString label = result.pages.at(i) ? result.pages.at(i)->label() : QString();
        result.pageLabels.append(label.isEmpty() ? QString::number(i + 1) : label);
    }
}

} // namespace

PdfOpener::PdfOpener(QObject* parent) : QObject(parent), m_pool(new QThreadPool), m_box(std::make_shared<PostBox>(this))
{
    // An open is stopped within one read of the file, so two threads are never long busy.
    m_pool->setMaxThreadCount(2);
    m_timer.setSingleShot(true);
    m_timer.setInterval(DefaultTimeLimit);
    connect(&m_timer, &QTimer::timeout, this, &PdfOpener::timedOut);
}

PdfOpener::~PdfOpener()
{
    m_box->Close();
    cancel();
    if (m_pool->waitForDone(1000))
        delete m_pool;
}

// Runs on any thread; `stop` ends the file's reads.
std::shared_ptr<OpenedPdf> PdfOpener::openNow(const QString& fileName, std::shared_ptr<std::atomic<bool>> stop,
                                              const FirstPagesRead& firstPagesRead)
{
    auto result = std::make_shared<OpenedPdf>();
    result->fileName = fileName;
    const QFileInfo info(fileName);
    if (!info.exists()) {
        result->error = Tr("The file does not exist.");
        return result;
    }
    if (!info.isFile()) { // a FIFO's or device's read may wait for ever
        result->error = Tr("Not a regular file.");
        return result;
    }
    auto file = std::make_unique<StoppableFile>(fileName, [stop] { return stop && stop->load(); });
    if (!file->open(QIODevice::ReadOnly)) {
        result->error = file->errorString();
        return result;
    }
    result->document.reset(Poppler::Document::load(file.get()));
    result->file = std::move(file);
    if (!result->document)
        result->error = Tr("Not a PDF document, or a damaged one.");
    else if (result->document->isLocked())
        result->error = Tr("The document is locked with a password.");
    else
        ReadPages(*result, firstPagesRead);
    return result;
}

void PdfOpener::open(const QString& fileName)
{
    cancel();
    m_fileName = fileName;
    m_stop = std::make_shared<std::atomic<bool>>(false);
    const quint64 ticket = m_ticket;
    const std::shared_ptr<std::atomic<bool>> stop = m_stop;
    m_pool->start(QRunnable::create([box = m_box, self = this, home = thread(), ticket, fileName, stop] {
        const auto firstPagesRead = [box, self, ticket, fileName](const QVector<QSizeF>& sizes) {
            box->Post([self, ticket, fileName, sizes] { self->tellFirstPages(ticket, fileName, sizes); });
        };
        std::shared_ptr<OpenedPdf> result = openNow(fileName, stop, firstPagesRead);
        if (stop->load())
            return; // left: freed here rather than on the window's thread
        // Handed to the window's thread, which uses it from now on.
        if (result->file)
            result->file->moveToThread(home);
        box->Post([self, ticket, result] { self->deliver(ticket, result); });
    }));
    m_timer.start();
}

void PdfOpener::cancel()
{
    if (m_stop)
        m_stop->store(true);
    m_stop.reset();
    m_timer.stop();
    ++m_ticket;
}

void PdfOpener::dispose(std::shared_ptr<OpenedPdf> left)
{
    m_pool->start(QRunnable::create([left = std::move(left)]() mutable { left.reset(); }));
}

void PdfOpener::deliver(quint64 ticket, const std::shared_ptr<OpenedPdf>& result)
{
    if (ticket != m_ticket)
        return;
    m_stop.reset(); // the document reads through the file from now on
    m_timer.stop();
    ++m_ticket;
    if (result->error.isEmpty())
        emit opened(result);
    else
        emit failed(result->fileName, result->error);
}

void PdfOpener::tellFirstPages(quint64 ticket, const QString& fileName, const QVector<QSizeF>& pageSizes)
{
    if (ticket == m_ticket)
        emit firstPagesRead(fileName, pageSizes);
}

void PdfOpener::timedOut()
{
    // The open's read may never return (a network share gone away): the next open gets a thread.
    m_pool->setMaxThreadCount(qMin(m_pool->maxThreadCount() + 1, MaxThreads));
    const QString fileName = m_fileName;
    cancel();
    emit failed(fileName, Tr("The document took too long to open."));
}
