#include "media/coverreader.h"
#include "../samples.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The fuzzer's input: the first byte picks one of these suffixes, the rest is the file.
const char* const kFuzzSuffixes[] = {"mp3", "flac", "m4a", "ogg", "opus"};

bool Near(QRgb pixel, QColor expected)
{
    const int tolerance = 48; // the mp3's cover is a JPEG
    return qAbs(qRed(pixel) - expected.red()) < tolerance && qAbs(qGreen(pixel) - expected.green()) < tolerance &&
           qAbs(qBlue(pixel) - expected.blue()) < tolerance;
}

void ExpectRedOverBlue(const QImage& image, const std::string& what)
{
    ASSERT_EQ(image.size(), QSize(300, 200)) << what;
    EXPECT_TRUE(Near(image.pixel(150, 10), Qt::red)) << what;
    EXPECT_TRUE(Near(image.pixel(150, 190), Qt::blue)) << what;
}

const QStringList kCovers = {"cover.mp3", "cover.flac", "cover.m4a", "cover.ogg", "cover.opus"};

} // namespace

TEST(CoverReader, FindsTheCoverOrNothing)
{
    QTemporaryDir odd;
    const QString fifo = MakeFifo(odd.filePath("fifo.mp3"));
    const QString nonAscii = odd.filePath(QStringLiteral("封面 é.mp3"));
    ASSERT_TRUE(QFile::copy(SampleMedia("cover.mp3"), nonAscii));
    QDir(odd.path()).mkdir("folder.mp3");

    std::vector<QPair<QString, bool>> cases = {
        {nonAscii, true}, {fifo, false}, {odd.filePath("folder.mp3"), false}, {odd.filePath("missing.mp3"), false}};
    for (const QString& name : kCovers)
        cases.push_back({SampleMedia(name), true});
    for (const char* name : {"tone.mp3",     "tone.flac",    "tone.ogg",      "tone.opus",     "opus.ogg",
                             "tone.m4a",     "tone.wav",     "bars.mp4",      "bars.mkv",      "long-silent.mp3",
                             "text.mp3",     "empty.mp4",    "truncated.mp3", "truncated.mp4", "garbage.mkv",
                             "bigcover.mp3", "notimage.mp3", "hugecover.mp3", "playlist.mp3",  "playlist.mp4"})
        cases.push_back({SampleMedia(name), false});

    for (const auto& c : cases) {
        const std::string what = c.first.toStdString();
        const QImage image = ReadCoverPicture(c.first);
        if (c.second)
            ExpectRedOverBlue(image, what);
        else
            EXPECT_TRUE(image.isNull()) << what;
    }
}

TEST(CoverReader, ReadsTheSameFromMemory)
{
    for (const QString& name : kCovers) {
        const QString path = SampleMedia(name);
        const QByteArray cover = ReadCoverBytes(path);
        EXPECT_FALSE(cover.isEmpty()) << name.toStdString();
        EXPECT_EQ(ReadCoverBytesFromData(ReadFile(path), QFileInfo(path).suffix()), cover) << name.toStdString();
    }
    // Any suffix on a cover, and on what the fuzzer kept: the content decides, or there is no
    // cover; never a crash.
    QList<QByteArray> inputs{ReadFile(SampleMedia("cover.flac"))};
    for (const auto& finding : FuzzFindings("cover"))
        inputs << finding.second.mid(1);
    for (const QByteArray& input : inputs)
        for (const char* suffix : kFuzzSuffixes)
            DecodeCover(ReadCoverBytesFromData(input, suffix));
    EXPECT_TRUE(ReadCoverBytesFromData(QByteArray(), "mp3").isEmpty());
}

// A tag's picture in a format no cover uses (here Qt's own XPM, PPM and TGA) is not decoded: some decoders
// start programs or thread pools on the bytes they are given.
TEST(CoverReader, DecodesOnlyEverydayFormats)
{
    const QImage picture = Solid(Qt::red, {8, 6});
    for (const char* format : {"png", "jpeg", "bmp", "webp", "xpm", "ppm", "tga"}) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(picture.save(&buffer, format)) << format;
        const bool everyday = std::string("png jpeg bmp webp").find(format) != std::string::npos;
        EXPECT_EQ(DecodeCover(bytes).size(), everyday ? picture.size() : QSize(0, 0)) << format;
    }
}
