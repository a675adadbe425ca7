// What a request for a path previews, from the facts a probe takes off the window's thread:
// links and desktop entries are followed, a missing path or a name nothing can classify shows
// nothing, and only the latest request is answered.
#include "../writefile.h"

#include "mainwnd/pathprobe.h"

#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct Answer {
    QString asked;
    PathFacts facts;
    int count = 0;
};

// Starts each path in turn on one probe and waits for its answers.
Answer Probe(const QStringList& paths)
{
    PathProbe probe(PathProbe::Links::Follow, nullptr);
    Answer answer;
    QEventLoop loop;
    QObject::connect(&probe, &PathProbe::SigProbed, &loop, [&](const QString& asked, const PathFacts& facts) {
        answer = {asked, facts, answer.count + 1};
        QTimer::singleShot(200, &loop, &QEventLoop::quit); // time for an older answer to come too
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit); // against a hang only
    for (const QString& path : paths)
        probe.Start(path);
    loop.exec();
    return answer;
}

TEST(PathProbe, FollowsLinksAndTellsKinds)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    WriteFile(d + "/a.txt", "hello\n");
    WriteFile(d + "/notes", "hello\n");
    QFile::link(d + "/a.txt", d + "/link.txt");
    QFile::link(d + "/gone.txt", d + "/dangling.txt");
    WriteFile(d + "/to.desktop", "[Desktop Entry]\nType=Link\nURL=file://" + d.toUtf8() + "/a.txt\n");
    ASSERT_EQ(mkfifo(QFile::encodeName(d + "/pipe.txt").constData(), 0600), 0);
    struct Case {
        QString asked;
        PathFacts::Kind kind;
        QString shown;
        qint64 size;
        bool special;
    };
    const Case cases[] = {
        {d + "/a.txt", PathFacts::Kind::File, d + "/a.txt", 6, false},
        {d + "/link.txt", PathFacts::Kind::File, d + "/a.txt", 6, false},
        {d + "/to.desktop", PathFacts::Kind::File, d + "/a.txt", 6, false},
        {d, PathFacts::Kind::Folder, d, -1, false},
        {d + "/pipe.txt", PathFacts::Kind::Other, d + "/pipe.txt", -1, true},
        {d + "/dangling.txt", PathFacts::Kind::Missing, d + "/dangling.txt", -1, false},
        {"/proc/self/status", PathFacts::Kind::File, "/proc/self/status", -1, true},
    };
    for (const Case& c : cases) {
        const Answer a = Probe({c.asked});
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
    const Answer latest = Probe({d + "/a.txt", d + "/notes"});
    EXPECT_EQ(latest.count, 1);
    EXPECT_EQ(latest.asked, d + "/notes");
}

TEST(PathProbe, PreviewTargetOfFacts)
{
    PathFacts file;
    file.path = "/f/a.txt";
    file.kind = PathFacts::Kind::File;
    PathFacts bare = file;
    bare.path = "/f/notes";
    PathFacts folder;
    folder.path = "/f/dir";
    folder.kind = PathFacts::Kind::Folder;
    PathFacts missing;
    missing.path = "/f/b.txt";
    struct Case {
        QString asked;
        PathFacts facts;
        bool knowsContentTypes;
        QString target;
    };
    const Case cases[] = {
        {"/f/a.txt", file, false, "/f/a.txt"},
        {"/f/link", file, false, QString()}, // a name without a suffix, and no way to read the content's type
        {"/f/notes", bare, true, "/f/notes"},
        {"/f/dir", folder, false, "/f/dir"},
        {"/f/b.txt", missing, true, QString()},
        {QString(), file, true, QString()},
        {"/share/x", UnansweredFacts("/share/x"), false, "/share/x"}, // the panel says why
    };
    for (const Case& c : cases)
        EXPECT_EQ(PreviewTarget(c.asked, c.facts, c.knowsContentTypes), c.target) << c.asked.toStdString();
}

} // namespace
