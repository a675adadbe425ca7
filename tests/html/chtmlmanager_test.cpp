// The converter's output as it comes; a converter that is missing, not runnable, fails or crashes
// is tried in the program by markdown_security.sh, and a converter given up for the next file by chtmlwnd_test.
#include "htmltestutil.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Output that comes in pieces, a character cut between two of them.
TEST(CHtmlManager, PiecesJoinInOrder)
{
    QTemporaryDir tmp;
    CHtmlManager manager(WriteScript(tmp.filePath("md"),
                                     "printf '<p>one</p><p>\\345'; sleep 0.3; printf '\\220\\215</p>'; "
                                     "sleep 0.3; printf '<p>three</p>'"));
    SetCurrentMarkdown(tmp.path() + "/a.md");
    QSignalSpy finished(&manager, &CAbstractManager::SigPerformFinished);
    manager.Perform();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 60000));
    ASSERT_EQ(finished.count(), 1) << qPrintable(manager.m_err);
    EXPECT_EQ(finished.first().first().toString(),
              CHtmlManager::PageStart() + QString::fromUtf8("<p>one</p><p>\xe5\x90\x8d</p><p>three</p></body></html>"));
}
