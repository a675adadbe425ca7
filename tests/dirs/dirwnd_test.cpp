// The listing viewer with the real listers on archives made by real tools: the tree against
// what libarchive's bsdtar lists, the failures, a lister killed when the user moves on, and
// folders in both views.
#include "cglobaldata/cglobaldata.h"
#include "chelperrun/chelperrun.h"
#include "cglobaldata/csuffixtables.h"
#include "dirs/cdirwnd.h"
#include "dirs/cfilesystemhorizontalwnd.h"
#include "../samples.h"
#include "../viewerload.h"

#include <QAbstractProxyModel>
#include <QAction>
#include <QDir>
#include <QFileSystemModel>
#include <QListView>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

// Every row as its path inside the archive.
void CollectPaths(const QStandardItemModel* model, const QModelIndex& parent, const QString& prefix,
                  QSet<QString>& paths)
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex name = model->index(row, 0, parent);
        const QString path = prefix + name.data().toString();
        paths.insert(path);
        CollectPaths(model, name, path + QLatin1Char('/'), paths);
    }
}

// What libarchive lists (a compressed tarball's members), with the folders the archive leaves out filled in.
QSet<QString> ReferencePaths(const QString& archive)
{
    QSet<QString> paths;
    for (QString line : QString::fromUtf8(RunToEnd("bsdtar", {"-tf", archive}).out).split(QLatin1Char('\n'))) {
        if (line.isEmpty())
            continue;
        if (line.endsWith(QLatin1Char('/')))
            line.chop(1);
        paths.insert(line);
        for (int cut = line.lastIndexOf(QLatin1Char('/')); cut > 0; cut = line.lastIndexOf(QLatin1Char('/'), cut - 1))
            paths.insert(line.left(cut));
    }
    return paths;
}

QAbstractItemModel* FolderSource(const QTreeView* tree)
{
    const auto* proxy = qobject_cast<const QAbstractProxyModel*>(tree->model());
    return proxy ? proxy->sourceModel() : nullptr;
}

class DirWndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wnd = new CDirWnd;
        wnd->resize(700, 525);
        QCoreApplication::processEvents(); // the viewer finishes setting up on the first pass
    }
    void TearDown() override { delete wnd; }

    Outcome Load(const QString& path) { return LoadInto(wnd, path); }

    QSet<QString> Shown() const
    {
        QSet<QString> paths;
        CollectPaths(qobject_cast<QStandardItemModel*>(wnd->ArchiveTree()->model()), QModelIndex(), QString(), paths);
        return paths;
    }

    // The folder tree's top rows, once it holds at least `rows` of them.
    std::string FolderNames(int rows) const
    {
        const QTreeView* view = wnd->FolderTree();
        QSignalSpy loaded(FolderSource(view), SIGNAL(directoryLoaded(QString)));
        if (view->model()->rowCount(view->rootIndex()) < rows)
            loaded.wait(5000);
        QStringList names;
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            names.append(view->model()->index(row, 0, view->rootIndex()).data().toString());
        return names.join(QLatin1Char(' ')).toStdString();
    }

    CDirWnd* wnd = nullptr;
};

TEST_F(DirWndTest, EveryFormatShowsTheTreeLibarchiveLists)
{
    // (.tar.bz2 and .tar.xz take the same lister: mainwnd/everyday_kinds.sh lists their members)
    const char* archives[] = {"nested.zip",  "nested.7z",  "nested.tar",   "nested.rar",
                              "nested5.rar", "locked.zip", "nested.tar.gz"};
    for (const char* name : archives) {
        SCOPED_TRACE(name);
        const QString archive = SampleArchive(QString::fromLatin1(name));
        const Outcome outcome = Load(archive);
        ASSERT_TRUE(outcome.loaded) << qPrintable(outcome.err);
        EXPECT_EQ(Shown(), ReferencePaths(archive));
    }
    // A compressed single file lists the file.
    ASSERT_TRUE(Load(SampleArchive(QStringLiteral("single.txt.xz"))).loaded);
    EXPECT_EQ(Shown(), QSet<QString>{"single.txt"});
}

TEST_F(DirWndTest, ArchivesNoListerCanReadEndInUnknown)
{
    const char* archives[] = {"empty.zip", "truncated.7z", "hidden-names.7z", "truncated.rar", "notarchive.zip"};
    for (const char* name : archives) {
        SCOPED_TRACE(name);
        const Outcome outcome = Load(SampleArchive(QString::fromLatin1(name)));
        EXPECT_TRUE(outcome.failed);
        EXPECT_EQ(outcome.err, QStringLiteral("Unknown"));
    }
    // 7-Zip finds the entries of a zip with a damaged index in their own headers.
    for (const char* name : {"corrupt.zip", "absurd.rar"}) {
        SCOPED_TRACE(name);
        const Outcome outcome = Load(SampleArchive(QString::fromLatin1(name)));
        EXPECT_TRUE(outcome.loaded || outcome.err == QStringLiteral("Unknown"));
    }
}

TEST_F(DirWndTest, HostileNamesShowAsTheyAre)
{
    const struct {
        const char* archive;
        const char* path;
    } cases[] = {
        {"dotdot.zip", "../evil.txt"}, {"newline.tar", "./back\\slash.txt"},
        {"dotdot.zip", "/abs.txt"},    {"newline.tar", "./new_line.txt"}, // 7-Zip prints the newline as "_"
        {"bomb.zip", "zeros.bin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(Load(SampleArchive(QString::fromLatin1(c.archive))).loaded);
        EXPECT_TRUE(Shown().contains(QString::fromUtf8(c.path)));
    }
    ASSERT_TRUE(Load(SampleArchive(QStringLiteral("many.zip"))).loaded);
    EXPECT_EQ(Shown().size(), ReferencePaths(SampleArchive(QStringLiteral("many.zip"))).size());
    ASSERT_TRUE(Load(SampleArchive(QStringLiteral("longnames.tar"))).loaded);
    for (const QString& path : Shown())
        EXPECT_LE(path.size(), 8200);
}

// The user moves on while a big listing is still listed, or already being built: its lister is
// gone, the next archive shows, and the big one's rows never do. A stale build would deliver
// before the next one (one build thread, one queue), so it would end the wait below with its own.
TEST_F(DirWndTest, ALaterArchiveReplacesAListingUnderWay)
{
    const QString big = SampleArchive(QStringLiteral("many.zip"));
    const QString small = SampleArchive(QStringLiteral("nested.zip"));
    for (const bool listed : {false, true}) {
        SCOPED_TRACE(listed ? "being built" : "being listed");
        PointAt(big);
        QSignalSpy lister(wnd->Manager()->findChild<CHelperRun*>(), &CHelperRun::SigFinished);
        wnd->StartLoading();
        QCoreApplication::processEvents(); // the lister starts
        if (listed) {
            ASSERT_TRUE(lister.wait(60000));
        }
        const Outcome outcome = Load(small);
        ASSERT_TRUE(outcome.loaded);
        EXPECT_EQ(Shown(), ReferencePaths(small));
        EXPECT_FALSE(Running(big));
    }
}

// A lister that never ends (it waits on a pipe named like an archive) keeps the window live,
// and goes when the user moves on.
TEST_F(DirWndTest, AListerThatNeverEndsDiesWithTheNextFile)
{
    QTemporaryDir dir;
    const QString pipe = MakeFifo(dir.filePath(QStringLiteral("never.zip")));
    PointAt(pipe);
    QSignalSpy loaded(wnd, &CAbstractWnd::SigLoaded), failed(wnd, &CAbstractWnd::SigErr);
    wnd->StartLoading();
    QTest::qWait(500); // returns only if the window's thread is free
    EXPECT_TRUE(loaded.isEmpty() && failed.isEmpty());
    EXPECT_TRUE(Running(pipe));
    ASSERT_TRUE(Load(SampleArchive(QStringLiteral("nested.zip"))).loaded);
    EXPECT_FALSE(Running(pipe));
}

// A big folder's reader hands its rows to the window until its model is gone, each batch holding
// the window for a fraction of a second: moving on to another folder, or hiding the viewer for
// another kind of file, ends it, and the next folder lists as usual.
TEST_F(DirWndTest, AFolderLeftWhileReadIsReadNoMore)
{
    QTemporaryDir big;
    QTemporaryDir small;
    for (int i = 0; i < 500; ++i)
        QFile(big.filePath(QStringLiteral("file%1").arg(i))).open(QIODevice::WriteOnly);
    QDir(small.path()).mkpath(QStringLiteral("sub"));
    for (const char* name : {"b.txt", "a.txt"})
        QFile(small.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    wnd->show();
    const auto expectGone = [](QPointer<QAbstractItemModel> model) {
        if (model)
            QSignalSpy(model.data(), &QObject::destroyed).wait(10000);
        EXPECT_TRUE(model.isNull());
    };

    ASSERT_TRUE(Load(big.path()).loaded);
    QPointer<QAbstractItemModel> left = FolderSource(wnd->FolderTree());
    ASSERT_TRUE(Load(small.path()).loaded);
    expectGone(left);
    EXPECT_EQ(FolderNames(3), "sub a.txt b.txt");

    ASSERT_TRUE(Load(big.path()).loaded);
    left = FolderSource(wnd->FolderTree());
    wnd->hide();
    expectGone(left);
}

// More rows than the window sorts itself come in at once: sorted on another thread, they all
// show, in order, folders first.
TEST_F(DirWndTest, ABigFolderShowsWholeAndInOrder)
{
    QTemporaryDir dir;
    QStringList expected{QStringLiteral("dir9"), QStringLiteral("dir10")};
    for (const QString& name : expected)
        QDir(dir.path()).mkdir(name);
    for (int i = 0; i < 10000; ++i) {
        expected.append(QStringLiteral("File%1").arg(i));
        QFile(dir.filePath(expected.last())).open(QIODevice::WriteOnly);
    }
    ASSERT_TRUE(Load(dir.path()).loaded);
    const QTreeView* view = wnd->FolderTree();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= expected.size(); }, 60000));
    QStringList names;
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
        names.append(view->model()->index(row, 0, view->rootIndex()).data().toString());
    ASSERT_EQ(names.size(), expected.size());
    for (int row = 0; row < names.size(); ++row)
        ASSERT_EQ(names.at(row).toStdString(), expected.at(row).toStdString()) << "row " << row;
}

// "S" previewing the selection is driven in the program by dir_viewer.sh.
TEST_F(DirWndTest, FoldersShowHiddenItemsInBothViews)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("one/two/three"));
    QDir(dir.path()).mkpath(QStringLiteral("zz"));
    for (const char* name : {".hidden", "one/note.txt", "img10.png", "img9.png", "Alpha.txt", "beta.txt"})
        QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    ASSERT_TRUE(Load(dir.path()).loaded);

    QAbstractItemModel* tree = wnd->FolderTree()->model();
    EXPECT_EQ(FolderNames(7), "one zz .hidden Alpha.txt beta.txt img9.png img10.png");
    EXPECT_EQ(tree->index(0, 2, wnd->FolderTree()->rootIndex()).data().toString(), QStringLiteral("Folder"));

    // The tree stays live: a file made while it is shown appears in its place.
    const int before = tree->rowCount(wnd->FolderTree()->rootIndex());
    QFile(dir.filePath(QStringLiteral("added.txt"))).open(QIODevice::WriteOnly);
    EXPECT_TRUE(QTest::qWaitFor([&] { return tree->rowCount(wnd->FolderTree()->rootIndex()) != before; }, 20000));
    EXPECT_EQ(FolderNames(0), "one zz .hidden added.txt Alpha.txt beta.txt img9.png img10.png");

    for (QAction* action : wnd->actions())
        if (action->toolTip() == QStringLiteral("Column View"))
            action->trigger();
    CFileSystemHorizontalWnd* columns = wnd->ColumnView();
    ASSERT_EQ(columns->ColumnCount(), 1);
    auto select = [&](int column, const QString& path) {
        auto* list = columns->findChildren<QListView*>().at(column);
        auto* proxy = qobject_cast<QAbstractProxyModel*>(list->model());
        auto* listModel = qobject_cast<QFileSystemModel*>(proxy->sourceModel());
        QSignalSpy ready(listModel, &QFileSystemModel::directoryLoaded);
        if (!listModel->index(path).isValid() || proxy->rowCount(list->rootIndex()) == 0)
            ready.wait(5000);
        list->setCurrentIndex(proxy->mapFromSource(listModel->index(path)));
    };
    select(0, dir.filePath(QStringLiteral("one")));
    select(1, dir.filePath(QStringLiteral("one/two")));
    select(2, dir.filePath(QStringLiteral("one/two/three")));
    EXPECT_EQ(columns->ColumnCount(), 4);
    select(1, dir.filePath(QStringLiteral("one/note.txt")));
    EXPECT_EQ(columns->ColumnCount(), 2);
    EXPECT_EQ(columns->SelectedFileInfo().fileName(), QStringLiteral("note.txt"));

    // The column mode stays for the next folder.
    ASSERT_TRUE(Load(dir.filePath(QStringLiteral("one"))).loaded);
    EXPECT_EQ(columns->ColumnCount(), 1);
}

} // namespace
