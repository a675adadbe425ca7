#pragma once

#include "core/postbox.h"
#include "platform/pathfacts.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

// Takes the facts of a requested path on a thread of its own, within a time bound: on a share
// that stopped answering even a stat never returns, and the window must not wait for it. One path
// at a time; a newer Start() or Cancel() drops the older answer, and a thread the kernel holds is
// left to it.
class PathProbe : public QObject
{
    Q_OBJECT
public:
    static constexpr int LimitMs = 20000;
    // A selection's link or desktop entry stands for what it names; a path the window is sent
    // to is shown as it is.
    enum class Links { Follow, AsTheyAre };

    PathProbe(Links links, QObject* parent);
    ~PathProbe() override;

    void Start(const QString& path);
    void Cancel();
    bool IsProbing(const QString& path) const { return m_limit.isActive() && path == m_path; }

signals:
    // Unanswered facts when the bound passed first.
    void SigProbed(QString asked, PathFacts facts);

private:
    void Finish(int job, const PathFacts& facts);

    const Links m_links;
    std::shared_ptr<PostBox> m_box;
    QTimer m_limit;
    QString m_path;
    int m_job = 0;
};
