// What a request for a path previews, from the facts a probe takes off the window's thread:
// links and desktop entries are followed, a missing path or a name nothing can classify shows
// nothing, only the latest request is answered, and of several candidates the first that exists
// wins, even behind one whose stat never returns.
#include "../writefile.h"

#include "mainwnd/pathprobe.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct Answer {
    QString asked;
    PathFacts facts;
    int count = 0;
};

// Starts each request in turn on one probe and waits for its answers.
Answer Probe(const QList<QStringList>& requests)
{
    PathProbe probe(PathProbe::Links::Follow, nullptr);
    Answer answer;
    QEventLoop loop;
    QObject::connect(&probe, &PathProbe::SigProbed, &loop, [&](const QString& asked, const PathFacts& facts) {
        answer = {asked, facts, answer.count + 1};
        QTimer::singleShot(200, &loop, &QEventLoop::quit); // time for an older answer to come too
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit); // against a hang only
    for (const QStringList& candidates : requests)
        probe.Start(candidates);
    loop.exec();
    return answer;
}

// The test file system whose folder "hung" never answers a lookup, mounted for as long as it lives.
class StallFs
{
public:
    StallFs()
    {
        m_server.start(QStringLiteral("/usr/bin/python3"),
                       {QStringLiteral(VUEL_SOURCE_DIR "/tests/tools/stallfs.py"), Root()});
        m_server.waitForStarted();
        QDeadlineTimer deadline(30000);
        while (!Mounted() && m_server.state() == QProcess::Running && !deadline.hasExpired())
            m_server.waitForFinished(50);
    }
    // Unmounted first: the lookups still waiting then fail, and their threads end.
    ~StallFs()
    {
        QProcess::execute(QStringLiteral("fusermount3"), {QStringLiteral("-u"), QStringLiteral("-z"), Root()});
        m_server.kill();
        m_server.waitForFinished();
    }
    QString Root() const { return m_dir.path(); }
    bool Mounted() const { return QFileInfo::exists(Root() + "/stalled.txt"); }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
};

TEST(PathProbe, FollowsLinksAndTellsKinds)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    WriteFile(d + "/a.txt", "hello\n");
    WriteFile(d + "/notes", "hello\n");
    QFile::link(d + "/a.txt", d + "/link.txt");
    QFile::link(d + "/gone.txt", d + "/dangling.txt");
    WriteFile(d + "/to.desktop", "[Desktop Entry]\nType=Link\nURL=file://" + d.toUtf8() + "/a.txt\n");
    MakeFifo(d + "/pipe.txt");
    const struct {
        QString asked;
        PathFacts::Kind kind;
        QString shown;
        qint64 size;
        bool special;
    } cases[] = {
        {d + "/a.txt", PathFacts::Kind::File, d + "/a.txt", 6, false},
        {d + "/link.txt", PathFacts::Kind::File, d + "/a.txt", 6, false},
        {d + "/to.desktop", PathFacts::Kind::File, d + "/a.txt", 6, false},
        {d, PathFacts::Kind::Folder, d, -1, false},
        {d + "/pipe.txt", PathFacts::Kind::Other, d + "/pipe.txt", -1, true},
        {d + "/dangling.txt", PathFacts::Kind::Missing, d + "/dangling.txt", -1, false},
        {"/proc/self/status", PathFacts::Kind::File, "/proc/self/status", -1, true},
    };
    for (const auto& c : cases) {
        const Answer a = Probe({{c.asked}});
        const std::string what = c.asked.toStdString();
        ASSERT_EQ(a.count, 1) << what;
        EXPECT_EQ(a.asked, c.asked) << what;
        EXPECT_FALSE(a.facts.unanswered) << what;
        EXPECT_EQ(a.facts.kind, c.kind) << what;
        EXPECT_EQ(a.facts.path, c.shown) << what;
        EXPECT_EQ(a.facts.IsSpecial(), c.special) << what;
        EXPECT_TRUE(c.size < 0 || a.facts.size == c.size) << what;
    }
    // A newer request drops the older one's answer.
    const Answer latest = Probe({{d + "/a.txt"}, {d + "/notes"}});
    EXPECT_EQ(latest.count, 1);
    EXPECT_EQ(latest.asked, d + "/notes");
}

TEST(PathProbe, TheFirstCandidateThatExistsWins)
{
    StallFs share;
    if (!share.Mounted())
        GTEST_SKIP() << "no FUSE file system (fuse3, python3-pyfuse3)";
    QTemporaryDir dir;
    const QString d = dir.path(), hung = share.Root() + "/hung";
    WriteFile(d + "/a.txt", "a\n");
    WriteFile(d + "/b.txt", "b\n");
    const struct {
        QStringList candidates;
        QString asked;
        bool exists;
    } cases[] = {
        {{d + "/gone.txt", d + "/b.txt", d + "/a.txt"}, d + "/b.txt", true},
        {{hung + "/a.txt", d + "/gone.txt", d + "/a.txt"}, d + "/a.txt", true}, // the window never waits on the stat
        {{d + "/gone.txt", d + "/none.txt"}, d + "/gone.txt", false},
    };
    for (const auto& c : cases) {
        const Answer a = Probe({c.candidates});
        const std::string what = c.candidates.join(' ').toStdString();
        ASSERT_EQ(a.count, 1) << what;
        EXPECT_EQ(a.asked.toStdString(), c.asked.toStdString());
        EXPECT_FALSE(a.facts.unanswered) << what;
        EXPECT_EQ(a.facts.Exists(), c.exists) << what;
        EXPECT_EQ(a.facts.path.toStdString(), c.asked.toStdString());
    }
}

TEST(PathProbe, PreviewTargetOfFacts)
{
    const auto facts = [](const QString& path, PathFacts::Kind kind) {
        PathFacts f;
        f.path = path;
        f.kind = kind;
        return f;
    };
    const PathFacts file = facts("/f/a.txt", PathFacts::Kind::File);
    const struct {
        QString asked;
        PathFacts facts;
        bool knowsContentTypes;
        QString target;
    } cases[] = {
        {"/f/a.txt", file, false, "/f/a.txt"},
        {"/f/link", file, false, QString()}, // a name without a suffix, and no way to read the content's type
        {"/f/notes", facts("/f/notes", PathFacts::Kind::File), true, "/f/notes"},
        {"/f/dir", facts("/f/dir", PathFacts::Kind::Folder), false, "/f/dir"},
        {"/f/b.txt", facts("/f/b.txt", PathFacts::Kind::Missing), true, QString()},
        {QString(), file, true, QString()},
        {"/share/x", UnansweredFacts("/share/x"), false, "/share/x"}, // the panel says why
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreviewTarget(c.asked, c.facts, c.knowsContentTypes), c.target) << c.asked.toStdString();
}

} // namespace
