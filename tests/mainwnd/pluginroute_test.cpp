// Files whose suffix belongs to a plug-in go through a real plug-in program.
#include "../viewerload.h"
#include "../writefile.h"

#include "code/ccodewnd.h"
#include "core/tempfolder.h"
#include "mainwnd/cmainwnd.h"

#include <Qsci/qsciscintilla.h>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Shown {
    int kind = -1; // of the viewer that reported loaded
    QString path;
    QString text;
};

QTemporaryDir* s_dir = nullptr;
CMainWnd* s_wnd = nullptr;

class PluginRoute : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        qputenv("TMPDIR", s_dir->path().toLocal8Bit()); // where plug-in outputs land without a runtime folder
        s_wnd = new CMainWnd;
        s_wnd->Display();
    }
    static void TearDownTestSuite()
    {
        delete s_wnd;
        delete s_dir;
    }
};

QString TempFile(const QString& name, const QByteArray& content) { return WriteFile(s_dir->filePath(name), content); }

// A shell plug-in for "foo" files: `body` runs with $1 = the file, $2 = the output base.
// Each run adds a line to <name>.runs.
void RegisterScript(const QString& name, const QByteArray& body)
{
    const QString script = TempFile(name + ".sh", "#!/bin/sh\necho run >> \"$0\".runs\n" + body + "\n");
    CGlobalData::Instance().SetPlugins({{name, {"foo"}, {"sh", script}}});
}

int Runs(const QString& name) { return ReadFile(s_dir->filePath(name + ".sh.runs")).count('\n'); }

Shown LoadAndWait(const QString& path)
{
    Shown shown;
    shown.kind = LoadedKind(s_wnd, [path] { s_wnd->Load(path); });
    shown.path = CGlobalData::Instance().Path();
    if (auto* code = qobject_cast<CCodeWnd*>(s_wnd->CurrentViewer()))
        shown.text = code->MainEditor()->text();
    return shown;
}

} // namespace

TEST_F(PluginRoute, ConvertedOutputIsPreviewedByItsOwnSuffix)
{
    RegisterScript("Upper", R"(tr a-z A-Z < "$1" > "$2.txt")");
    const Shown shown = LoadAndWait(TempFile("x.foo", "hello plugin\n"));
    EXPECT_EQ(shown.kind, MT_TEXT);
    EXPECT_EQ(shown.text, "HELLO PLUGIN\n");
    EXPECT_TRUE(shown.path.endsWith(".txt")) << shown.path.toStdString();
    // in our own folder, so that no one else reads it and Quit removes it
    EXPECT_TRUE(!TempFolder().isEmpty() && shown.path.startsWith(TempFolder())) << shown.path.toStdString();
}

TEST_F(PluginRoute, PluginWithoutUsableOutputIsNotShownAsConverted)
{
    const QString input = TempFile("broken.foo", "data");
    const struct {
        const char* name;
        QByteArray script; // empty: a program that does not exist
        bool aboutInput;   // whether the panel tells of the file asked for, not of an output
        int kind;
    } cases[] = {
        {"ExitCode1", R"(echo partial > "$2.txt"; exit 1)", true, MT_UNKNOWN},
        {"NoOutput", "exit 0", true, MT_UNKNOWN},
        {"Missing", "", true, MT_UNKNOWN},
        // not converted again and again: shown by its content
        {"OwnSuffix", R"(cp "$1" "$2.foo")", false, MT_TEXT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RegisterScript(c.name, c.script);
        if (c.script.isEmpty())
            CGlobalData::Instance().SetPlugins({{c.name, {"foo"}, {"/nonexistent/vuel-plugin"}}});
        const Shown shown = LoadAndWait(input);
        EXPECT_EQ(shown.kind, c.kind);
        EXPECT_EQ(shown.path == input, c.aboutInput) << shown.path.toStdString();
        EXPECT_EQ(Runs(c.name), c.script.isEmpty() ? 0 : 1);
    }
}

TEST_F(PluginRoute, SwitchingToAnotherFileEndsARunningPlugin)
{
    const QString marker = QStringLiteral("SlowVuelPlugin"); // in the command line of its shell
    RegisterScript(marker, R"(sleep 30; echo late > "$2.txt")");
    s_wnd->Load(TempFile("slow.foo", "slow"));
    ASSERT_TRUE(Running(marker));
    const Shown shown = LoadAndWait(TempFile("other.txt", "other\n"));
    EXPECT_FALSE(Running(marker));
    EXPECT_EQ(shown.text, "other\n");
}
