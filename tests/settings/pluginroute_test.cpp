// Files whose suffix belongs to a plug-in go through a real plug-in program.
#include "../viewerload.h"

#include "cglobaldata/cglobaldata.h"
#include "code/ccodewnd.h"
#include "mainwnd/cmainwnd.h"

#include <Qsci/qsciscintilla.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>

namespace {

// The kind of the viewer that ends up shown, or -1 when none reported.
struct Shown {
    int kind = -1;
    QString path;
    QString text;
};

class PluginRoute : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        s_oldTmp = qgetenv("TMPDIR");
        // Plug-in outputs land in the temporary folder: a private one, removed with the suite.
        qputenv("TMPDIR", QDir(s_dir->path()).filePath("tmp").toLocal8Bit());
        QDir().mkpath(QDir(s_dir->path()).filePath("tmp"));
        s_wnd = new CMainWnd;
        s_wnd->Display();
    }
    static void TearDownTestSuite()
    {
        delete s_wnd;
        qputenv("TMPDIR", s_oldTmp);
        delete s_dir;
    }
    void SetUp() override { m_saved = CGlobalData::Instance().Plugins(); }
    void TearDown() override { CGlobalData::Instance().SetPlugins(m_saved); }

    static QString File(const QString& name, const QByteArray& content)
    {
        const QString path = QDir(s_dir->path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    // A shell plug-in for "foo" files: `body` runs with $1 = the file, $2 = the output base.
    static void RegisterScript(const QString& name, const QByteArray& body)
    {
        const QString script = File(name + ".sh", "#!/bin/sh\n" + body + "\n");
        CGlobalData::Instance().SetPlugins({{name, {"foo"}, {"sh", script}}});
    }

    static Shown LoadAndWait(const QString& path)
    {
        Shown shown;
        QEventLoop loop;
        QList<QMetaObject::Connection> links;
        for (CAbstractWnd* viewer : s_wnd->findChildren<CAbstractWnd*>()) {
            links << QObject::connect(viewer, &CAbstractWnd::SigLoaded, &loop, [&shown, &loop, viewer] {
                shown.kind = viewer->GetWndType();
                loop.quit();
            });
        }
        QTimer::singleShot(60000, &loop, &QEventLoop::quit); // against a hang only
        s_wnd->Load(path);
        if (shown.kind < 0)
            loop.exec();
        for (const auto& link : links)
            QObject::disconnect(link);
        shown.path = CGlobalData::Instance().Path();
        if (auto* code = qobject_cast<CCodeWnd*>(s_wnd->CurrentViewer()))
            shown.text = code->MainEditor()->text();
        return shown;
    }

    static int Lines(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : 0;
    }

    static QTemporaryDir* s_dir;
    static QByteArray s_oldTmp;
    static CMainWnd* s_wnd;
    QList<PluginRecord> m_saved;
};

QTemporaryDir* PluginRoute::s_dir = nullptr;
QByteArray PluginRoute::s_oldTmp;
CMainWnd* PluginRoute::s_wnd = nullptr;

} // namespace

TEST_F(PluginRoute, ConvertedOutputIsPreviewedByItsOwnSuffix)
{
    RegisterScript("Upper", R"(tr a-z A-Z < "$1" > "$2.txt")");
    for (const char* name : {"x.foo", "Y.FOO"}) {
        SCOPED_TRACE(name);
        const Shown shown = LoadAndWait(File(name, "hello plugin\n"));
        EXPECT_EQ(shown.kind, MT_TEXT);
        EXPECT_EQ(shown.text, "HELLO PLUGIN\n");
        EXPECT_TRUE(shown.path.endsWith(".txt")) << shown.path.toStdString();
    }
}

TEST_F(PluginRoute, PluginThatGivesNoOutputEndsOnTheInformationPanel)
{
    const QString input = File("broken.foo", "data");
    const struct {
        const char* what;
        QStringList command;
        QByteArray script;
    } cases[] = {
        {"exit code 1", {}, R"(echo partial > "$2.txt"; exit 1)"},
        {"no output", {}, "exit 0"},
        {"killed by a signal", {}, R"(echo partial > "$2.txt"; kill -9 $$)"},
        {"missing program", {"/nonexistent/vuel-plugin", "arg"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegisterScript("Broken", c.script);
        if (!c.command.isEmpty())
            CGlobalData::Instance().SetPlugins({{"Missing", {"foo"}, c.command}});
        const Shown shown = LoadAndWait(input);
        EXPECT_EQ(shown.kind, MT_UNKNOWN);
        EXPECT_EQ(shown.path, input); // the information is about the file asked for
    }
}

TEST_F(PluginRoute, OutputWithThePluginsOwnSuffixIsNotConvertedAgain)
{
    const QString runs = QDir(s_dir->path()).filePath("runs");
    RegisterScript("Same", QString(R"(echo run >> "%1"; cp "$1" "$2.foo")").arg(runs).toUtf8());
    const QString input = File("same.foo", "same");
    const Shown shown = LoadAndWait(input);
    EXPECT_EQ(shown.kind, MT_UNKNOWN);
    EXPECT_NE(shown.path, input);
    EXPECT_TRUE(shown.path.endsWith(".foo")) << shown.path.toStdString();
    EXPECT_EQ(Lines(runs), 1);
}

TEST_F(PluginRoute, OtherSuffixesKeepTheirViewers)
{
    RegisterScript("Upper", R"(tr a-z A-Z < "$1" > "$2.txt")");
    const Shown shown = LoadAndWait(File("plain.txt", "stays lower\n"));
    EXPECT_EQ(shown.kind, MT_TEXT);
    EXPECT_EQ(shown.text, "stays lower\n");
}

TEST_F(PluginRoute, MovingOnEndsARunningPlugin)
{
    // The script's name is in the command line of its shell.
    const QString marker = QStringLiteral("SlowVuelPlugin");
    RegisterScript(marker, R"(sleep 30; echo late > "$2.txt")");
    const QString slow = File("slow.foo", "slow");
    const QString other = File("other.txt", "other\n");

    s_wnd->Load(slow);
    ASSERT_TRUE(Running(marker));
    const Shown shown = LoadAndWait(other);
    EXPECT_FALSE(Running(marker));
    EXPECT_EQ(shown.kind, MT_TEXT);
    EXPECT_EQ(shown.text, "other\n");

    s_wnd->Load(slow);
    ASSERT_TRUE(Running(marker));
    s_wnd->HideWnd();
    EXPECT_FALSE(Running(marker));
    s_wnd->Display();
}
