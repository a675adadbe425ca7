#include "mainwnd/pathprobe.h"

#include "Explorer/shortcut.h"

#include <thread>

namespace {

PathFacts FactsOfShown(const QString& asked, PathProbe::Links links)
{
    const QString target = links == PathProbe::Links::Follow ? ResolveShortcut(asked) : asked;
    if (target != asked) {
        // A link whose target Qt cannot name (a stand-in for such a name) is opened as the link.
        const PathFacts facts = FactsOf(target);
        if (facts.Exists())
            return facts;
    }
    return FactsOf(asked);
}

} // namespace

PathProbe::PathProbe(Links links, QObject* parent)
    : QObject(parent), m_links(links), m_box(std::make_shared<PostBox>(this))
{
    m_limit.setSingleShot(true);
    m_limit.setInterval(LimitMs);
    connect(&m_limit, &QTimer::timeout, this, [this] {
        ++m_job;
        emit SigProbed(m_path, UnansweredFacts(m_path));
    });
}

PathProbe::~PathProbe() { m_box->Close(); }

void PathProbe::Start(const QString& path)
{
    const int job = ++m_job;
    m_path = path;
    m_limit.start();
    std::thread([box = m_box, self = this, job, path, links = m_links] {
        const PathFacts facts = FactsOfShown(path, links);
        box->Post([self, job, facts] { self->Finish(job, facts); });
    }).detach();
}

void PathProbe::Cancel()
{
    ++m_job;
    m_limit.stop();
}

void PathProbe::Finish(int job, const PathFacts& facts)
{
    if (job != m_job)
        return;
    m_limit.stop();
    emit SigProbed(m_path, facts);
}
