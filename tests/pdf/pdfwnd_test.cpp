// The document viewer as the preview window drives it: PDFs straight into the page view,
// office documents through a converter, here a stand-in script (the real one: converter_1syt
// and pdf_viewer).
#include "pdf/cpdfmanager.h"
#include "pdf/cpdfwnd.h"
#include "pdf/pdfview.h"
#include "testpdfs.h"
#include "../viewerload.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PdfWndTest : public ::testing::Test
{
protected:
    void SetUp() override { WriteFile(docx, "stands for a document"); }
    void TearDown() override { delete wnd; }

    void Make(const QString& converter)
    {
        delete wnd; // and its manager
        manager = new CPdfManager(converter);
        wnd = new CPdfWnd(nullptr, manager);
        wnd->resize(900, 700);
        QCoreApplication::processEvents(); // the viewer finishes setting up on the first pass
    }

    // A converter stand-in, given the input and output paths as the real one is.
    QString Script(const QString& name, const QByteArray& body) { return WriteScript(dir.filePath(name), body); }

    QTemporaryDir dir;
    QString sample = WritePdf(dir.filePath("three.pdf"), QVector<QSizeF>(3, QSizeF(595, 842)));
    QString docx = dir.filePath("report.docx");
    CPdfManager* manager = nullptr;
    CPdfWnd* wnd = nullptr;
};

TEST_F(PdfWndTest, PdfsOpenAtTheirFirstPageAndAskForTheirWidth)
{
    Make(CPdfManager::DefaultProgram());
    const Outcome outcome = LoadInto(wnd, sample);
    ASSERT_TRUE(outcome.loaded);
    EXPECT_EQ(wnd->View()->pageCount(), 3);
    EXPECT_EQ(wnd->PageLabel()->text(), QStringLiteral("1/3"));

    // Fit width fills the viewer but for 20 px; actual size goes back to 1.0.
    const qreal sceneWidth = int(wnd->View()->sceneRect().width());
    for (const auto& button :
         {qMakePair(QString("Fit Width"), (wnd->width() - 20) / sceneWidth), qMakePair(QString("Actual Size"), 1.0)}) {
        for (QAction* action : wnd->actions())
            if (action->toolTip() == button.first)
                action->trigger();
        EXPECT_DOUBLE_EQ(wnd->View()->zoomFactor(), button.second);
    }
}

TEST_F(PdfWndTest, ConverterOutcomes)
{
    const QByteArray copy = "cp '" + sample.toUtf8() + "' \"$2\"";
    const struct {
        const char* name;
        QByteArray script;
        bool loaded;
        const char* err;
    } cases[] = {
        {"converts", copy, true, ""},
        {"fails", "exit 3", false, "Offices convert failed."},
        {"writes-nothing", "exit 0", false, "Offices convert failed."},
        {"writes-garbage", "echo garbage > \"$2\"", false, "Not a PDF document, or a damaged one."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Make(Script(QString::fromLatin1(c.name), c.script));
        const Outcome outcome = LoadInto(wnd, docx);
        EXPECT_EQ(outcome.loaded, c.loaded);
        EXPECT_EQ(outcome.err, QString::fromLatin1(c.err));
    }
    Make(dir.filePath(QStringLiteral("no-such-converter")));
    EXPECT_EQ(LoadInto(wnd, docx).err, QStringLiteral("Can not find no-such-converter file"));
}

// The window never waits for Poppler: a PDF followed by an 8 GB hole, which Poppler scans for
// minutes, and a FIFO end on the information panel with the reason, the next PDF shows, and a
// document left before it opened is dropped.
TEST_F(PdfWndTest, DocumentsOpenOffTheWindowsThreadWithinABound)
{
    Make(CPdfManager::DefaultProgram());
    const QString big = dir.filePath("big.pdf"), fifo = MakeFifo(dir.filePath("pipe.pdf"));
    ASSERT_TRUE(QFile::copy(sample, big) && QFile::resize(big, qint64(8) << 30));
    for (const auto& c : {qMakePair(big, QString("The document took too long to open.")),
                          qMakePair(fifo, QString("Not a regular file.")), qMakePair(big, QString())}) {
        wnd->View()->setOpenTimeLimit(c.second.isEmpty() ? 600000 : 1000);
        QSignalSpy failed(wnd, &CAbstractWnd::SigErr);
        PointAt(c.first);
        wnd->LoadPDF(c.first);
        EXPECT_TRUE(failed.isEmpty()) << "the outcome comes through the event loop";
        if (!c.second.isEmpty()) {
            ASSERT_TRUE(failed.wait(60000));
            EXPECT_EQ(wnd->Manager()->m_err, c.second);
        }
        ASSERT_TRUE(LoadInto(wnd, sample).loaded);
        EXPECT_EQ(wnd->View()->pageCount(), 3);
        EXPECT_EQ(failed.size(), c.second.isEmpty() ? 0 : 1) << "a document left while opening is dropped";
    }
}

// The same unchanged document is shown from the PDF made before; a changed one is converted anew.
TEST_F(PdfWndTest, AnUnchangedDocumentIsConvertedOnce)
{
    const QString runs = dir.filePath(QStringLiteral("runs"));
    Make(
        Script(QStringLiteral("counting"), "echo run >> '" + runs.toUtf8() + "'; cp '" + sample.toUtf8() + "' \"$2\""));
    ASSERT_TRUE(LoadInto(wnd, docx).loaded);
    ASSERT_TRUE(LoadInto(wnd, sample).loaded);
    ASSERT_TRUE(LoadInto(wnd, docx).loaded);
    EXPECT_EQ(ReadFile(runs).count('\n'), 1);
    EXPECT_EQ(wnd->View()->pageCount(), 3);

    // Another document of the same base name takes the output name over.
    QDir(dir.path()).mkdir(QStringLiteral("other"));
    const QString twin = dir.filePath(QStringLiteral("other/report.docx"));
    WriteFile(twin, "another document");
    ASSERT_TRUE(LoadInto(wnd, twin).loaded);
    ASSERT_TRUE(LoadInto(wnd, docx).loaded);
    EXPECT_EQ(ReadFile(runs).count('\n'), 3);

    QFile file(docx);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    file.close();
    ASSERT_TRUE(LoadInto(wnd, docx).loaded);
    EXPECT_EQ(ReadFile(runs).count('\n'), 4);
}

// A converter that never ends (and has a child of its own) is killed with its child when the
// user moves on, and by the time limit when the user waits.
TEST_F(PdfWndTest, AConverterThatNeverEndsIsKilled)
{
    const QByteArray marker = "vuel-hanging-" + QByteArray::number(QCoreApplication::applicationPid());
    Make(Script(QString::fromLatin1(marker), "sleep 1017 & wait"));
    PointAt(docx);
    wnd->StartLoading();
    QCoreApplication::processEvents();
    ASSERT_TRUE(Running(QString::fromLatin1(marker)));
    ASSERT_TRUE(LoadInto(wnd, sample).loaded);
    EXPECT_FALSE(Running(QString::fromLatin1(marker)));
    EXPECT_FALSE(Running(QStringLiteral("sleep 1017")));

    manager->SetTimeLimit(300);
    const Outcome outcome = LoadInto(wnd, docx);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.err, QStringLiteral("Offices convert failed."));
    EXPECT_FALSE(Running(QString::fromLatin1(marker)));
}

} // namespace
