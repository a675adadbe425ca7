#pragma once

#include "core/postbox.h"

#include <QList>
#include <QObject>
#include <QSizeF>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <QVector>

#include <poppler-qt5.h>

#include <atomic>
#include <functional>
#include <memory>

// A document opened off the window's thread, with what the layout needs read there too. The
// document reads from `file` for as long as it lives; the pages are owned until taken.
struct OpenedPdf {
    ~OpenedPdf() { qDeleteAll(pages); }

    QString fileName;
    std::unique_ptr<QIODevice> file;
    std::unique_ptr<Poppler::Document> document;
    QList<Poppler::Page*> pages;
    QVector<QSizeF> pageSizes;
    QStringList pageLabels;
    QString error;
};

// Opens one PDF document at a time on a thread of its own, so that a file Poppler scans for
// minutes never stalls the window: a newer open or cancel() stops the one before and drops its
// result, and an open that outlasts the time limit fails. Results arrive through the event loop:
// for a long document, the sizes of its first pages (the others assumed alike) come first.
class PdfOpener : public QObject
{
    Q_OBJECT
public:
    explicit PdfOpener(QObject* parent = nullptr);
    ~PdfOpener() override;

    void open(const QString& fileName);
    void cancel();
    void dispose(std::shared_ptr<OpenedPdf> left); // deleted beside the window
    bool isOpening() const { return m_stop != nullptr; }
    void setTimeLimit(int milliseconds) { m_timer.setInterval(milliseconds); }

    using FirstPagesRead = std::function<void(const QVector<QSizeF>& pageSizes)>;
    static std::shared_ptr<OpenedPdf> openNow(const QString& fileName, std::shared_ptr<std::atomic<bool>> stop,
                                              const FirstPagesRead& firstPagesRead = {});

signals:
    void firstPagesRead(const QString& fileName, const QVector<QSizeF>& pageSizes);
    void opened(const std::shared_ptr<OpenedPdf>& result);
    void failed(const QString& fileName, const QString& reason);

private:
    void deliver(quint64 ticket, const std::shared_ptr<OpenedPdf>& result);
    void tellFirstPages(quint64 ticket, const QString& fileName, const QVector<QSizeF>& pageSizes);
    void timedOut();

    static constexpr int MaxThreads = 8;

    QThreadPool* m_pool; // left to the process's end while a read is stuck: it would wait for ever
    QTimer m_timer;
    QString m_fileName;
    quint64 m_ticket = 0;
    std::shared_ptr<std::atomic<bool>> m_stop; // of the open in progress
    std::shared_ptr<PostBox> m_box;
};
