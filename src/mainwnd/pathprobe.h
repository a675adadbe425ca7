#pragma once

#include "core/postbox.h"
#include "platform/pathfacts.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <memory>
#include <optional>

// Takes the facts of a requested path on a thread of its own, within a time bound: on a share
// that stopped answering even a stat never returns, and the window must not wait for it. One
// request at a time; a newer Start() or Cancel() drops the older answer, and a thread the kernel
// holds is left to it.
class PathProbe : public QObject
{
    Q_OBJECT
public:
    static constexpr int LimitMs = 20000;
    // A candidate still unanswered after this long no longer holds back a later one that exists.
    static constexpr int GraceMs = 1000;
    // A selection's link or desktop entry stands for what it names; a path the window is sent
    // to is shown as it is.
    enum class Links { Follow, AsTheyAre };

    PathProbe(Links links, QObject* parent);
    ~PathProbe() override;

    void Start(const QString& path) { Start(QStringList{path}); }
    // Answers with the first of the candidates, likeliest first, that exists; each is asked on a
    // thread of its own, so that one on a share that stopped answering holds back no other.
    void Start(const QStringList& candidates);
    void Cancel();
    bool IsProbing(const QStringList& candidates) const { return m_limit.isActive() && candidates == m_candidates; }

signals:
    // The candidate shown, else the first; unanswered facts when the bound passed first.
    void SigProbed(QString asked, PathFacts facts);

private:
    void Finish(int job, int index, const PathFacts& facts);
    void AnswerWhenKnown();
    void Answer(int index, const PathFacts& facts);
    void GiveUp();

    const Links m_links;
    std::shared_ptr<PostBox> m_box;
    QTimer m_limit;
    QTimer m_grace;
    QStringList m_candidates;
    QVector<std::optional<PathFacts>> m_answers;
    int m_job = 0;
};
