#include "platform/privatefolder.h"
#include "../writefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsPrivate(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 0777) == 0700;
}

void MakeFolder(const QString& path, mode_t mode)
{
    ASSERT_EQ(::mkdir(QFile::encodeName(path).constData(), mode), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

} // namespace

// Whatever was prepared where the folder goes, the result is a folder only we can enter, and
// what someone planted (a link's target, a folder of theirs) is left as it was. Another user's
// folder in its place is planted for the real program by core/temp_folder.sh.
TEST(PrivateFolder, NeverUsesWhatSomeoneElsePrepared)
{
    enum Expect { Named, Unique };
    const QString own = QStringLiteral("vuel-%1").arg(::getuid());
    const struct {
        const char* what;
        bool runtimeSet;
        std::function<void(const QString& runtime, const QString& shared, const QString& victim)> prepare;
        const char* expectedParent; // "runtime" or "shared"
        Expect expect;
    } cases[] = {
        {"nothing there yet", true, [](auto&, auto&, auto&) {}, "runtime", Named},
        {"our own folder from an earlier run", true,
         [](const QString& r, auto&, auto&) { MakeFolder(r + "/Vuel", 0700); }, "runtime", Named},
        {"a link to someone's folder", true,
         [](const QString& r, auto&, const QString& v) { QFile::link(v, r + "/Vuel"); }, "runtime", Unique},
        {"a dangling link", true,
         [](const QString& r, auto&, const QString& v) { QFile::link(v + "/missing", r + "/Vuel"); }, "runtime",
         Unique},
        {"a folder others may enter", true, [](const QString& r, auto&, auto&) { MakeFolder(r + "/Vuel", 0755); },
         "runtime", Unique},
        {"a file", true, [](const QString& r, auto&, auto&) { QFile(r + "/Vuel").open(QIODevice::WriteOnly); },
         "runtime", Unique},
        {"no runtime folder", false, [](auto&, auto&, auto&) {}, "shared", Named},
        {"a runtime folder open to others", true,
         [](const QString& r, auto&, auto&) { ::chmod(QFile::encodeName(r), 0755); }, "shared", Named},
        {"our folder in the shared temp folder planted as a link", false,
         [own](auto&, const QString& s, const QString& v) { QFile::link(v, s + "/" + own); }, "shared", Unique},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        qunsetenv("TMPDIR"); // the last case's folder is gone
        QTemporaryDir runtime, shared, victim;
        ASSERT_TRUE(runtime.isValid() && shared.isValid() && victim.isValid());
        ::chmod(QFile::encodeName(shared.path()), 01777);
        WriteFile(victim.path() + "/keep", "");
        c.prepare(runtime.path(), shared.path(), victim.path());
        qputenv("TMPDIR", QFile::encodeName(shared.path()));
        if (c.runtimeSet)
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        else
            qunsetenv("XDG_RUNTIME_DIR");

        const QString folder = PrivateFolder(QStringLiteral("Vuel"));

        const QString parent =
            QString::fromLatin1(c.expectedParent) == "runtime" ? runtime.path() : shared.path() + "/" + own;
        if (c.expect == Named)
            EXPECT_EQ(folder, parent + "/Vuel");
        else
            EXPECT_TRUE(folder.startsWith(parent + "/Vuel-") || folder.startsWith(parent + "-")) << qPrintable(folder);
        EXPECT_TRUE(IsPrivate(folder)) << qPrintable(folder);
        EXPECT_EQ(QDir(victim.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"keep"});
    }
    qunsetenv("TMPDIR");
    qunsetenv("XDG_RUNTIME_DIR");
}

// Removal takes what is inside, never what a link inside or in the folder's place points to.
TEST(PrivateFolder, RemovalNeverGoesThroughALink)
{
    // A folder holding files, a subfolder and links out; a link to the victim put where it was.
    for (const bool linkInPlace : {false, true}) {
        SCOPED_TRACE(linkInPlace);
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        const QString victim = root.filePath(QStringLiteral("victim"));
        ASSERT_TRUE(QDir().mkpath(victim + QStringLiteral("/deep")));
        for (const QString& name : {QStringLiteral("/.bashrc"), QStringLiteral("/deep/notes.txt")})
            WriteFile(victim + name, "");
        const QString folder = root.filePath(QStringLiteral("Vuel"));
        if (linkInPlace) {
            ASSERT_TRUE(QFile::link(victim, folder));
        } else {
            MakeFolder(folder, 0700);
            ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/sub")));
            WriteFile(folder + QStringLiteral("/sub/sample.pdf.part"), "");
            ASSERT_TRUE(QFile::link(victim, folder + QStringLiteral("/to-victim")));
            ASSERT_TRUE(QFile::link(victim + QStringLiteral("/.bashrc"), folder + QStringLiteral("/sub/rc")));
        }
        EXPECT_EQ(RemovePrivateFolder(folder + QLatin1Char('/')), !linkInPlace);
        EXPECT_EQ(QFileInfo::exists(folder), linkInPlace);
        EXPECT_TRUE(QFile::exists(victim + QStringLiteral("/.bashrc")));
        EXPECT_TRUE(QFile::exists(victim + QStringLiteral("/deep/notes.txt")));
    }
}
