#include "htmltestutil.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr int kWait = 60000;

struct Conversion {
    QVariant result;
    QString err;
    int announcements = 0;
};

Conversion Convert(CHtmlManager& manager, const QString& markdown)
{
    SetCurrentMarkdown(markdown);
    QSignalSpy finished(&manager, &CAbstractManager::SigPerformFinished);
    manager.m_err.clear();
    manager.Perform();
    if (finished.isEmpty())
        finished.wait(kWait);
    Conversion run;
    run.announcements = finished.count();
    if (!finished.isEmpty())
        run.result = finished.first().first();
    run.err = manager.m_err;
    return run;
}

} // namespace

TEST(CHtmlManager, RealConverterGivesWholePage)
{
    ASSERT_TRUE(QFileInfo(RealConverter()).isExecutable()) << "the md converter is not built";
    QTemporaryDir tmp;
    const QString doc = tmp.path() + "/readme.md";
    WriteFile(doc, "# Title \xe5\x90\x8d\n\n| a | b |\n|---|---|\n| 1 | 2 |\n\n<script>alert(1)</script>\n");
    CHtmlManager manager;
    EXPECT_EQ(manager.Program(), RealConverter());
    const Conversion run = Convert(manager, doc);
    ASSERT_EQ(run.announcements, 1);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const QString page = run.result.toString();
    const QString start = "<!DOCTYPE html><html  lang=\"en\"><head><meta charset=\"UTF-8\"><link type=\"text/css\" "
                          "rel=\"stylesheet\" href=\"qrc:///html/css/bootstrap.css\"/></head><body>";
    EXPECT_TRUE(page.startsWith(start)) << page.left(300).toStdString();
    EXPECT_TRUE(page.endsWith("</body></html>"));
    EXPECT_TRUE(page.contains(QString::fromUtf8("Title \xe5\x90\x8d</h1>"))) << page.toStdString();
    EXPECT_TRUE(page.contains("<table>"));
    EXPECT_FALSE(page.contains("<script")) << "raw HTML reached the page";
}

// Output that comes in pieces, a character cut between two of them.
TEST(CHtmlManager, PiecesJoinInOrder)
{
    QTemporaryDir tmp;
    CHtmlManager manager(WriteConverter(tmp.path(), "printf '<p>one</p><p>\\345'; sleep 0.3; printf '\\220\\215</p>'; "
                                                    "sleep 0.3; printf '<p>three</p>'"));
    const Conversion run = Convert(manager, tmp.path() + "/a.md");
    ASSERT_EQ(run.announcements, 1);
    EXPECT_EQ(run.result.toString(),
              CHtmlManager::PageStart() + QString::fromUtf8("<p>one</p><p>\xe5\x90\x8d</p><p>three</p></body></html>"));
}

TEST(CHtmlManager, Failures)
{
    QTemporaryDir tmp;
    const QString missing = tmp.path() + "/plugins/md";
    const struct {
        const char* what;
        QString program;
        QString err;
    } cases[] = {
        {"missing", missing, missing + " can not be found."},
        {"not runnable", WriteConverter(tmp.path() + "/", "echo '<p>x</p>'", false), "Can not run md."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CHtmlManager manager(c.program);
        SetCurrentMarkdown(tmp.path() + "/a.md");
        QSignalSpy finished(&manager, &CAbstractManager::SigPerformFinished);
        manager.Perform();
        // Told at once: no program runs.
        ASSERT_EQ(finished.count(), 1);
        EXPECT_FALSE(finished.first().first().isValid());
        EXPECT_EQ(manager.m_err, c.err);
    }
    const struct {
        const char* what;
        QByteArray script;
    } ends[] = {
        {"crash", "printf '<p>half'; kill -SEGV $$"},
        {"killed from outside", "printf '<p>half'; kill -KILL $$"},
        {"gives up", "echo 'md: a.md: cannot read' >&2; exit 1"},
    };
    for (const auto& c : ends) {
        SCOPED_TRACE(c.what);
        CHtmlManager manager(WriteConverter(tmp.path(), c.script));
        const Conversion run = Convert(manager, tmp.path() + "/a.md");
        ASSERT_EQ(run.announcements, 1);
        EXPECT_FALSE(run.result.isValid());
        EXPECT_EQ(run.err, "Parse file error.");
    }
}

TEST(CHtmlManager, StopKillsTheConverter)
{
    QTemporaryDir tmp;
    CHtmlManager manager(WriteConverter(tmp.path(), "printf '<p>x</p>'; exec sleep 300"));
    SetCurrentMarkdown(tmp.path() + "/a.md");
    QSignalSpy finished(&manager, &CAbstractManager::SigPerformFinished);
    manager.Perform();
    EXPECT_TRUE(finished.isEmpty());
    manager.Stop();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_FALSE(finished.first().first().isValid());
    EXPECT_TRUE(manager.m_err.isEmpty());
    // The next run starts clean.
    WriteConverter(tmp.path(), "printf '<p>y</p>'");
    EXPECT_EQ(Convert(manager, tmp.path() + "/a.md").result.toString(),
              CHtmlManager::PageStart() + "<p>y</p></body></html>");
}

TEST(CHtmlManager, OtherFileTypesRunNothing)
{
    QTemporaryDir tmp;
    CHtmlManager manager(tmp.path() + "/missing");
    SetCurrentMarkdown(tmp.path() + "/a.html", ST_HTML);
    QSignalSpy finished(&manager, &CAbstractManager::SigPerformFinished);
    manager.Perform();
    EXPECT_TRUE(finished.isEmpty());
    EXPECT_TRUE(manager.m_err.isEmpty());
}
