// Which viewer shows what the preview window is asked to load: the suffix decides, the content
// where the suffix says nothing, and the information panel takes what no viewer can read.
#include "../pdf/testpdfs.h"
#include "../viewerload.h"

#include "mainwnd/cmainwnd.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

enum Entry { File, Folder, Fifo, KernelLink, Missing };

QByteArray TarGz(const QTemporaryDir& dir)
{
    QDir(dir.path()).mkpath("tree/src");
    QFile(dir.filePath("tree/src/a.c")).open(QIODevice::WriteOnly);
    return RunToEnd("tar", {"-C", dir.filePath("tree"), "-cz", "."}).out;
}

QString Make(const QTemporaryDir& dir, Entry entry, const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    if (entry == Folder)
        QDir().mkpath(path + "/inner");
    if (entry == Fifo)
        MakeFifo(path);
    if (entry == KernelLink)
        QFile::link("/proc/self/status", path);
    if (entry == File)
        WriteFile(path, content);
    return path;
}

} // namespace

TEST(LoadRoute, EachFileEndsInTheViewerOfItsKind)
{
    QTemporaryDir dir;
    const QByteArray png = PngBytes(), pdf = ReadFile(WritePdf(dir.filePath("a.pdf"), {QSizeF(595, 842)})),
                     tgz = TarGz(dir), text = "Vuel\n====\n\nA quick file previewer.\n";
    QByteArray blob;
    for (int i = 0; i < 4096; ++i)
        blob += char(i * 7 % 256);
    const struct {
        const char* name;
        Entry entry;
        QByteArray content;
        int kind;
    } cases[] = {
        {"photo.png", File, png, MT_PICTURE},
        {"notes.txt", File, text, MT_TEXT},
        {"folder", Folder, {}, MT_DIR},
        {"tree.tar.gz", File, tgz, MT_DIR},
        {"paper.pdf", File, pdf, MT_DOCUMENT},
        {"blob.bin", File, blob, MT_UNKNOWN},
        {"empty", File, {}, MT_UNKNOWN},
        {"empty.txt", File, {}, MT_TEXT},
        {"pipe.txt", Fifo, {}, MT_UNKNOWN},       // opened, it would wait for a writer for ever
        {"kmsg.log", KernelLink, {}, MT_UNKNOWN}, // a kernel file: /proc/kmsg would block the same way
        {"missing.txt", Missing, {}, MT_UNKNOWN},
        // no suffix, or one the tables do not know: the content decides (which kind for which
        // content: cglobaldata contentkind_test)
        {"README", File, text, MT_TEXT},
        {"paper.download", File, pdf, MT_DOCUMENT},
        // a suffix that lies: its viewer fails and the panel describes the file
        {"notes.png", File, text, MT_UNKNOWN},
        {"photo.pdf", File, png, MT_UNKNOWN},
    };
    CMainWnd wnd;
    wnd.Display();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = Make(dir, c.entry, c.name, c.content);
        EXPECT_EQ(LoadedKind(&wnd, [&wnd, path] { wnd.Load(path); }), c.kind);
        EXPECT_EQ(CGlobalData::Instance().Path().toStdString(), path.toStdString());
    }
}
