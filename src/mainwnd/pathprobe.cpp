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
    connect(&m_limit, &QTimer::timeout, this, &PathProbe::GiveUp);
    m_grace.setSingleShot(true);
    m_grace.setInterval(GraceMs);
    connect(&m_grace, &QTimer::timeout, this, &PathProbe::AnswerWhenKnown);
}

PathProbe::~PathProbe() { m_box->Close(); }

void PathProbe::Start(const QStringList& candidates)
{
    const int job = ++m_job;
    m_candidates = candidates.isEmpty() ? QStringList{QString()} : candidates;
    m_answers = QVector<std::optional<PathFacts>>(m_candidates.size());
    m_limit.start();
    m_grace.start();
    for (int i = 0; i < m_candidates.size(); ++i)
        std::thread([box = m_box, self = this, job, i, path = m_candidates[i], links = m_links] {
            const PathFacts facts = FactsOfShown(path, links);
            box->Post([self, job, i, facts] { self->Finish(job, i, facts); });
        }).detach();
}

void PathProbe::Cancel()
{
    ++m_job;
    m_limit.stop();
    m_grace.stop();
}

void PathProbe::Finish(int job, int index, const PathFacts& facts)
{
    if (job != m_job)
        return;
    m_answers[index] = facts;
    AnswerWhenKnown();
}

// The first candidate that exists, once each before it is missing or, after the grace, still
// unanswered; the first when none exists. A stalled one that answers later may still win.
void PathProbe::AnswerWhenKnown()
{
    bool waiting = false;
    for (int i = 0; i < m_answers.size(); ++i) {
        if (!m_answers[i]) {
            if (m_grace.isActive())
                return;
            waiting = true;
        } else if (m_answers[i]->Exists()) {
            Answer(i, *m_answers[i]);
            return;
        }
    }
    if (!waiting)
        Answer(0, *m_answers[0]);
}

void PathProbe::GiveUp()
{
    int stalled = 0;
    while (m_answers[stalled]) // one is unanswered, else the answer came already
        ++stalled;
    Answer(stalled, UnansweredFacts(m_candidates[stalled]));
}

void PathProbe::Answer(int index, const PathFacts& facts)
{
    const QString asked = m_candidates[index];
    Cancel();
    emit SigProbed(asked, facts);
}
