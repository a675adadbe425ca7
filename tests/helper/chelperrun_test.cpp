#include "chelperrun/chelperrun.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <memory>

namespace {

constexpr int kWait = 60000; // against a hang only

struct Outcome {
    int reports = 0;
    bool finished = false;
    CHelperRun::Failure failure = CHelperRun::Failure::NotStarted;
    QByteArray output;
};

// Collects every report of the run.
void Watch(CHelperRun& run, Outcome& outcome)
{
    QObject::connect(&run, &CHelperRun::SigFinished, [&outcome](const QByteArray& output) {
        ++outcome.reports;
        outcome.finished = true;
        outcome.output = output;
    });
    QObject::connect(&run, &CHelperRun::SigFailed,
                     [&outcome](CHelperRun::Failure failure, const QString&, const QByteArray& output) {
                         ++outcome.reports;
                         outcome.failure = failure;
                         outcome.output = output;
                     });
}

// Gone, or a zombie nobody reaps (the container's first process may not).
bool ProcessGone(pid_t pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (::kill(pid, 0) != 0 || !stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}

} // namespace

TEST(CHelperRun, WaysOfEnding)
{
    using F = CHelperRun::Failure;
    const struct {
        const char* name;
        const char* program;
        const char* script;
        bool finished;
        F failure;
        QByteArray output;
    } cases[] = {
        {"output collected", "/bin/sh", R"(printf 'one '; sleep 0.2; printf '%s' "$VUEL_WORD")", true, F{}, "one two"},
        {"non-zero exit", "/bin/sh", "printf half; exit 3", false, F::ExitCode, "half"},
        {"crash", "/bin/sh", "kill -SEGV $$", false, F::Crashed, ""},
        {"time-out", "/bin/sh", "exec sleep 300", false, F::TimedOut, ""},
        {"too much output", "/bin/sh", "exec cat /dev/zero", false, F::TooMuchOutput, ""},
        {"no program", "/nonexistent/vuel-helper", "", false, F::NotStarted, ""},
        {"by name", "sh", "exit 0", true, F{}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CHelperRun run;
        run.SetTimeLimit(c.failure == F::TimedOut ? 300 : 0);
        run.SetOutputLimit(c.failure == F::TooMuchOutput ? 100000 : 1000);
        Outcome outcome;
        Watch(run, outcome);
        QProcessEnvironment environment;
        environment.insert("VUEL_WORD", "two");
        run.Start(c.program, {"-c", c.script}, environment);
        EXPECT_TRUE(QTest::qWaitFor([&] { return outcome.reports > 0; }, kWait));
        QCoreApplication::processEvents(); // a second report would come now
        EXPECT_EQ(outcome.reports, 1);
        EXPECT_EQ(outcome.finished, c.finished);
        EXPECT_TRUE(c.finished || outcome.failure == c.failure) << int(outcome.failure);
        EXPECT_TRUE(c.failure == F::TooMuchOutput || outcome.output == c.output)
            << outcome.output.left(100).constData();
        EXPECT_FALSE(run.IsRunning());
    }
}

// Stopped, started again or gone, the run ends what the helper started and reports nothing.
TEST(CHelperRun, EndingARunEndsItsWholeGroup)
{
    enum How { Stop, StartAgain, Destroy };
    for (How how : {Stop, StartAgain, Destroy}) {
        SCOPED_TRACE(how);
        QTemporaryDir dir;
        const QString pidFile = dir.filePath("pid");
        auto run = std::make_unique<CHelperRun>();
        Outcome outcome;
        Watch(*run, outcome);
        run->Start("/bin/sh", {"-c", "sleep 300 & echo $! > \"$0\"; wait", pidFile});
        QFile file(pidFile);
        ASSERT_TRUE(QTest::qWaitFor([&] { return file.size() > 0; }, kWait) && file.open(QIODevice::ReadOnly));
        const pid_t grandchild = file.readAll().trimmed().toInt();
        ASSERT_GT(grandchild, 0);
        ASSERT_FALSE(ProcessGone(grandchild));
        if (how == Stop)
            run->Stop();
        else if (how == StartAgain)
            run->Start("/bin/sh", {"-c", "exec sleep 300"});
        else
            run.reset();
        EXPECT_TRUE(QTest::qWaitFor([&] { return ProcessGone(grandchild); }, kWait));
        if (!ProcessGone(grandchild))
            ::kill(grandchild, SIGKILL);
        QCoreApplication::processEvents();
        EXPECT_EQ(outcome.reports, 0);
    }
}
