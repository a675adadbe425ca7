// What the picture loader hands over: SVG <image> elements reach only regular files in the SVG's
// own folder, and colours arrive in the screen's space.
#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "picture/cpicturemanager.h"
#include "picture/svgguard.h"
#include "../writefile.h"

#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Folder {
    QTemporaryDir outside, root;
    QString in;
    Folder() : in(root.filePath("pics"))
    {
        QDir().mkpath(in);
        Solid(Qt::red).save(in + "/red.png");
        Solid(Qt::blue).save(outside.filePath("blue.png"));
        QFile::link(outside.filePath("blue.png"), in + "/link-out.png");
        QFile::link(in + "/red.png", in + "/link-in.png");
        MakeFifo(in + "/pipe.png");
    }
};

QImage LoadPicture(const QString& path, QString* err)
{
    CGlobalData::Instance().SetPath(path);
    CGlobalData::Instance().SetSubType(ST_PICTURE);
    CPictureManager manager;
    QSignalSpy finished(&manager, &CAbstractManager::SigPerformFinished);
    manager.Perform();
    if (finished.isEmpty())
        finished.wait(60000); // against a hang only
    *err = manager.m_err;
    return finished.value(0).value(0).value<QImage>();
}

TEST(SvgGuard, AnImageKeepsOnlyDataAndRegularFilesInsideItsFolder)
{
    Folder f;
    const QString red = QFileInfo(f.in + "/red.png").canonicalFilePath();
    const struct {
        QString href, allowed;
    } cases[] = {
        {"red.png", red},
        {"./red.png", red},
        {"file://" + f.in + "/red.png", red},
        {"link-in.png", red},
        {"data:image/png;base64,AAAA", "data:image/png;base64,AAAA"},
        {"link-out.png", ""},
        {f.outside.filePath("blue.png"), ""},
        {"../../" + QFileInfo(f.outside.path()).fileName() + "/blue.png", ""},
        {"pipe.png", ""},
        {"missing.png", ""},
        {"http://127.0.0.1:9/x.png", ""},
        {"/proc/self/environ", ""},
        {".", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AllowedSvgImage(c.href, f.in), c.allowed) << qPrintable(c.href);
}

TEST(SvgGuard, TheCleanTextKeepsPrefixesAndDropsWhatAnEntityHid)
{
    const QByteArray svg = R"(<?xml version="1.0"?>
<!DOCTYPE svg [<!ENTITY far "http://127.0.0.1:9/x.png">]>
<!-- a comment -->
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="4" height="4">
<image xlink:href="&far;" width="4" height="4"/><style><![CDATA[rect{fill:red}]]></style></svg>)";
    const QString clean = QString::fromUtf8(SvgWithLocalImagesOnly(svg, QDir::tempPath()));
    EXPECT_TRUE(clean.contains("xmlns:xlink=\"http://www.w3.org/1999/xlink\"")) << qPrintable(clean);
    EXPECT_TRUE(clean.contains("<image width=\"4\" height=\"4\"/>")) << qPrintable(clean);
    EXPECT_TRUE(clean.contains("<![CDATA[rect{fill:red}]]>"));
    EXPECT_FALSE(clean.contains("127.0.0.1") || clean.contains("comment") || clean.contains("DOCTYPE"));
    EXPECT_TRUE(SvgWithLocalImagesOnly("<svg><image></svg>", QDir::tempPath()).isEmpty());
}

// The FIFO in the folder would block the toolkit's reader for ever; the picture outside is not drawn.
TEST(SvgGuard, ThePreviewDrawsTheFolderPictureAndNothingElse)
{
    Folder f;
    const QString svg = WriteFile(f.in + "/scene.svg",
                                  R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"
 width="30" height="10"><image xlink:href="red.png" x="0" width="10" height="10"/>
<image xlink:href="pipe.png" x="10" width="10" height="10"/>
<image xlink:href="link-out.png" x="20" width="10" height="10"/></svg>)");

    QString err;
    const QImage shown = LoadPicture(svg, &err);
    ASSERT_EQ(shown.size(), QSize(30, 10)) << qPrintable(err);
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(25, 5).alpha(), 0);
}

// A photo saved in a wide-gamut space shows the colours it was made with, not its raw numbers.
TEST(PictureColours, AnEmbeddedProfileIsConvertedToTheScreensSpace)
{
    QTemporaryDir dir;
    for (const auto space : {QColorSpace::AdobeRgb, QColorSpace::ProPhotoRgb}) {
        SCOPED_TRACE(int(space));
        QImage wide = Solid(QColor(230, 40, 40), {16, 16});
        wide.setColorSpace(QColorSpace::SRgb);
        wide.convertToColorSpace(space);
        ASSERT_NE(wide.pixelColor(8, 8), QColor(230, 40, 40));
        const QString path = dir.filePath(QString("wide%1.jpg").arg(int(space)));
        ASSERT_TRUE(wide.save(path, "JPEG", 100));
        QString err;
        const QColor shown = LoadPicture(path, &err).pixelColor(8, 8);
        EXPECT_NEAR(shown.red(), 230, 4) << qPrintable(err);
        EXPECT_NEAR(shown.green(), 40, 4);
        EXPECT_NEAR(shown.blue(), 40, 4);
    }
}

// Damaged JPEGs a soak run met: each crashed the loader before it could say the file is broken.
TEST(BrokenPictures, EndInAnErrorNotACrash)
{
    const QDir dir(QStringLiteral(VUEL_SOURCE_DIR "/tests/picture/broken"));
    const QFileInfoList files = dir.entryInfoList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QFileInfo& f : files) {
        SCOPED_TRACE(qPrintable(f.fileName()));
        QString err;
        const QImage shown = LoadPicture(f.filePath(), &err);
        EXPECT_TRUE(!shown.isNull() || !err.isEmpty());
    }
}

} // namespace
