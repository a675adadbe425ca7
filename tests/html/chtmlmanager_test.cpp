// The converter's output as it comes; a converter that is missing, not runnable, fails or crashes
// is tried in the program by markdown_security.sh, and a converter given up for the next file by chtmlwnd_test.
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
