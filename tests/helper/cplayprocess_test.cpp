#include "cplayprocess/cplayprocess.h"

#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {

// Gone, or a zombie nobody reaps (the container's first process may not).
bool ProcessGone(pid_t pid)
{
    if (::kill(pid, 0) != 0)
        return errno == ESRCH;
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}

} // namespace

TEST(CPlayProcess, WaysOfEnding)
{
    enum End { Natural, Killed, NotStarted, NotRunning };
    const struct {
        const char* program;
        const char* script;
        End end;
        int exitCode;
        QProcess::ExitStatus status;
    } cases[] = {
        {"/bin/sh", "exit 0", Natural, 0, QProcess::NormalExit},
        {"/bin/sh", "exit 3", Natural, 3, QProcess::NormalExit},
        {"/bin/sh", "kill -SEGV $$", Natural, -1, QProcess::CrashExit},
        {"/bin/sh", "sleep 30", Killed, -1, QProcess::CrashExit},
        {"/nonexistent/vuel-helper", "", NotStarted, -1, QProcess::NormalExit},
        {"/bin/sh", "exit 0", NotRunning, -1, QProcess::NormalExit}, // QuitProcess after the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.program) + " " + c.script);
        CPlayProcess p;
        QSignalSpy natural(&p, &CPlayProcess::SigFinishedNaturally);
        QSignalSpy killed(&p, &CPlayProcess::SigFinishedByKilled);
        ASSERT_EQ(p.Start(c.program, {"-c", c.script}), c.end != NotStarted);
        if (c.end == Killed)
            p.QuitProcess();
        else if (c.end != NotStarted) {
            ASSERT_TRUE(p.waitForFinished(60000));
        }
        if (c.end == NotRunning) {
            natural.clear();
            p.QuitProcess();
        }
        EXPECT_EQ(natural.count(), c.end == Natural ? 1 : 0);
        EXPECT_EQ(killed.count(), c.end == Killed ? 1 : 0);
        EXPECT_EQ(p.WasKilled(), c.end == Killed || c.end == NotStarted);
        EXPECT_FALSE(p.IsRunning());
        if (c.end == Natural) {
            EXPECT_EQ(p.exitStatus(), c.status);
        }
        if (c.exitCode >= 0) {
            EXPECT_EQ(p.exitCode(), c.exitCode);
        }
    }
}

TEST(CPlayProcess, QuitEndsWhatTheHelperStarted)
{
    CPlayProcess p;
    ASSERT_TRUE(p.Start("/bin/sh", {"-c", "sleep 300 & echo $!; wait"}));
    QByteArray line;
    while (!line.contains('\n') && p.waitForReadyRead(60000))
        line += p.readAllStandardOutput();
    const pid_t grandchild = line.trimmed().toInt();
    ASSERT_GT(grandchild, 0) << line.constData();
    ASSERT_FALSE(ProcessGone(grandchild));
    p.QuitProcess();
    bool gone = false;
    for (int i = 0; i < 600 && !gone; ++i) { // a killed process needs a moment to end
        gone = ProcessGone(grandchild);
        if (!gone)
            ::usleep(100000);
    }
    EXPECT_TRUE(gone);
    if (!gone)
        ::kill(grandchild, SIGKILL);
}

TEST(CPlayProcess, CommandAppendsOneNewline)
{
    for (const QString& command : {QString(), QString("seek 10 2")}) {
        CPlayProcess p;
        ASSERT_TRUE(p.Start("/bin/cat", {}));
        p.Command(command);
        p.closeWriteChannel();
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.readAllStandardOutput(), command.toLatin1() + "\n");
    }
}
