#include "mainwnd/contentsniffer.h"

#include "platform/contenttype.h"

#include <thread>

ContentSniffer::ContentSniffer(QObject* parent) : QObject(parent), m_box(std::make_shared<PostBox>(this))
{
    m_limit.setSingleShot(true);
    m_limit.setInterval(LimitMs);
    connect(&m_limit, &QTimer::timeout, this, [this] {
        ++m_job;
        emit SigTimedOut(m_path);
    });
}

ContentSniffer::~ContentSniffer() { m_box->Close(); }

// A thread of its own: a read that never returns holds it for ever, and nothing waits for it.
void ContentSniffer::Start(const QString& path)
{
    const int job = ++m_job;
    m_path = path;
    m_limit.start();
    std::thread([box = m_box, self = this, job, path] {
        const QStringList chain = ContentTypeChain(path);
        box->Post([self, job, path, chain] { self->Finish(job, path, chain); });
    }).detach();
}

void ContentSniffer::Cancel()
{
    ++m_job;
    m_limit.stop();
}

void ContentSniffer::Finish(int job, const QString& path, const QStringList& chain)
{
    if (job != m_job)
        return;
    m_limit.stop();
    emit SigSniffed(path, chain);
}
