// The Photoshop decoder: ImageMagick's files against ImageMagick's own decoding, files of the
// modes ImageMagick does not write made by hand, and hostile files.
#include "picture/psddecode.h"
#include "picture/qpsdhandler.h"
#include "../samples.h"

#include <QBuffer>
#include <QColor>
#include <QDataStream>
#include <QImage>

#include <gtest/gtest.h>

namespace {

// A document by the file layout: header, colour data, empty resources and layers, then the planes.
QByteArray MakePsd(const psd::Header& h, const QByteArray& planes, const QByteArray& colourData = {},
                   int compression = 0, const QByteArray& rowTable = {})
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.writeRawData("8BPS", 4);
    out << quint16(h.version) << quint32(0) << quint16(0) << quint16(h.channels) << quint32(h.height)
        << quint32(h.width) << quint16(h.depth) << quint16(h.mode);
    out << quint32(colourData.size());
    out.writeRawData(colourData.constData(), colourData.size());
    out << quint32(0); // image resources
    if (h.version == 2)
        out << quint64(0);
    else
        out << quint32(0);
    out << quint16(compression);
    out.writeRawData(rowTable.constData(), rowTable.size());
    out.writeRawData(planes.constData(), planes.size());
    return bytes;
}

bool Decode(const QByteArray& bytes, QImage* image, const QSize& scaled = QSize())
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QPsdHandler handler;
    if (!QPsdHandler::canRead(&buffer))
        return false;
    handler.setDevice(&buffer);
    handler.setOption(QImageIOHandler::ScaledSize, scaled);
    return handler.read(image);
}

QImage Decode(const QByteArray& bytes, const QSize& scaled = QSize())
{
    QImage image;
    return Decode(bytes, &image, scaled) ? image : QImage();
}

// PackBits of `data` as literal runs only.
QByteArray Literal(const QByteArray& data)
{
    QByteArray out;
    for (int i = 0; i < data.size(); i += 128) {
        const QByteArray piece = data.mid(i, 128);
        out.append(char(piece.size() - 1)).append(piece);
    }
    return out;
}

// The largest and the mean difference of the channels of premultiplied pixels (the colour of an
// invisible pixel does not count), leaving out where `b` is translucent if asked: a picture taken
// from every n-th pixel differs from a smooth scaling along sharp edges only.
std::pair<int, double> Differences(const QImage& a, const QImage& b, bool opaqueOnly = false)
{
    const QImage p = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage q = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int worst = 0;
    double sum = 0;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const QRgb u = p.pixel(x, y), v = q.pixel(x, y);
            for (int d : {qRed(u) - qRed(v), qGreen(u) - qGreen(v), qBlue(u) - qBlue(v), qAlpha(u) - qAlpha(v)}) {
                if (!opaqueOnly || qAlpha(v) == 255) {
                    worst = std::max(worst, std::abs(d));
                    sum += std::abs(d);
                }
            }
        }
    return {worst, sum / (4.0 * p.width() * p.height())};
}

TEST(PsdDecoder, MatchesImageMagickInEveryModeItWrites)
{
    const struct {
        const char* name;
        QImage::Format format;
        int tolerance;
        bool opaqueOnly; // where a translucent pixel's colour is a matter of matte handling
    } cases[] = {
        {"gray8", QImage::Format_RGB32, 0, false},   {"gray16", QImage::Format_RGB32, 1, false},
        {"graya8", QImage::Format_ARGB32, 1, false}, {"rgb8", QImage::Format_RGB32, 0, false},
        {"rgb16", QImage::Format_RGB32, 1, false},   {"rgba8", QImage::Format_ARGB32, 1, true},
        {"rgba16", QImage::Format_ARGB32, 2, false}, {"cmyk8", QImage::Format_RGB32, 2, false},
        {"cmyk16", QImage::Format_RGB32, 2, false},  {"cmyka8", QImage::Format_ARGB32, 2, true},
    };
    for (const auto& c : cases)
        for (const char* compression : {"None", "RLE"}) {
            const QString base = SamplePicture(QStringLiteral("psd-%1-%2").arg(c.name, compression));
            SCOPED_TRACE(qPrintable(base));
            const QByteArray psd = ReadFile(base + ".psd");
            const QImage ours = Decode(psd);
            const QImage reference(base + ".ref.png");
            ASSERT_FALSE(ours.isNull());
            ASSERT_EQ(ours.size(), reference.size());
            EXPECT_EQ(ours.format(), c.format);
            EXPECT_LE(Differences(ours, reference, c.opaqueOnly).first, c.tolerance);
            if (HasFailure())
                ours.save(QStringLiteral(VUEL_BINARY_DIR "/psd-%1-%2.ours.png").arg(c.name, compression));
            // The fitted view's picture, read from every third row and column.
            const QSize small(100, 62);
            const QImage fitted = Decode(psd, small);
            ASSERT_EQ(fitted.size(), small);
            EXPECT_LT(Differences(fitted, ours.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)).second,
                      3.0);
        }
}

TEST(PsdDecoder, ModesMadeByHandGiveTheirPictures)
{
    // A 13-pixel-wide bitmap has rows of 2 bytes: black, white, black … (1 is black).
    psd::Header bitmap{1, 1, 2, 13, 1, psd::Bitmap};
    QImage image = Decode(MakePsd(bitmap, QByteArray::fromHex("aaa8aaa8")));
    ASSERT_EQ(image.size(), QSize(13, 2));
    EXPECT_EQ(QColor(image.pixel(0, 1)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(1, 1)), QColor(Qt::white));
    EXPECT_EQ(QColor(image.pixel(12, 0)), QColor(Qt::black));

    // Indexed: the palette is planar, all reds, then greens, then blues.
    psd::Header indexed{1, 1, 1, 3, 8, psd::Indexed};
    QByteArray palette(768, '\0');
    palette[1] = char(200);       // entry 1: red 200
    palette[256 + 2] = char(150); // entry 2: green 150
    image = Decode(MakePsd(indexed, QByteArray::fromHex("000102"), palette));
    ASSERT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.pixel(1, 0), qRgb(200, 0, 0));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 150, 0));

    psd::Header duotone{1, 1, 1, 2, 8, psd::Duotone};
    image = Decode(MakePsd(duotone, QByteArray::fromHex("1080"), QByteArray(20, 'x')));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0x80, 0x80, 0x80));

    // Multichannel reads as CMYK with inverted ink: 255 everywhere is no ink, white.
    psd::Header multi{1, 4, 1, 1, 8, psd::Multichannel};
    EXPECT_EQ(Decode(MakePsd(multi, QByteArray(4, char(255)))).pixel(0, 0), qRgb(255, 255, 255));

    psd::Header lab{1, 3, 1, 2, 8, psd::Lab}; // planes L, a, b of two pixels
    image = Decode(MakePsd(lab, QByteArray::fromHex("ff0080808080")));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(1, 0), QColor::fromRgbF(0.0650, 0, 0.0547).rgb()) << "black Lab is not black";

    // A matte of 0 keeps the stored colour; 16 bits truncate to 8.
    psd::Header rgba{1, 4, 1, 1, 8, psd::Rgb};
    EXPECT_EQ(Decode(MakePsd(rgba, QByteArray::fromHex("40506000"))).pixel(0, 0), qRgba(0x40, 0x50, 0x60, 0));
    psd::Header deep{1, 3, 1, 1, 16, psd::Rgb}; // planes R, G, B of one pixel
    EXPECT_EQ(Decode(MakePsd(deep, QByteArray::fromHex("ffff010100ff"))).pixel(0, 0), qRgb(255, 1, 0));
}

TEST(PsdDecoder, SizeLimitsDependOnTheVersionAndTheSizeIsAnsweredFirst)
{
    const struct {
        int version, width;
        bool read;
    } cases[] = {{1, 30000, true}, {1, 30001, false}, {2, 30001, true}, {2, 300001, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        psd::Header h{c.version, 1, 1, c.width, 8, psd::Grayscale};
        EXPECT_EQ(!Decode(MakePsd(h, QByteArray(c.width, 'g'))).isNull(), c.read);
    }
    // The size is answered without consuming the device.
    QBuffer buffer;
    buffer.setData(MakePsd({2, 1, 7, 5, 8, psd::Grayscale}, QByteArray(35, 'g')));
    buffer.open(QIODevice::ReadOnly);
    QPsdHandler handler;
    handler.setDevice(&buffer);
    EXPECT_TRUE(handler.canRead());
    EXPECT_EQ(handler.format(), QByteArray("psb"));
    EXPECT_EQ(handler.option(QImageIOHandler::Size).toSize(), QSize(5, 7));
    EXPECT_EQ(buffer.pos(), 0);
    QImage image;
    EXPECT_TRUE(handler.read(&image));
}

TEST(PsdDecoder, HostileFilesFailWithoutTouchingTheImage)
{
    const psd::Header gray{1, 1, 4, 4, 8, psd::Grayscale};
    const QByteArray good = MakePsd(gray, QByteArray(16, 'g'));
    ASSERT_FALSE(Decode(good).isNull());
    QList<QPair<QString, QByteArray>> cases;
    for (int size = 0; size < good.size(); ++size) // every section boundary and every byte between
        cases.append({QStringLiteral("truncated to %1").arg(size), good.left(size)});
    QByteArray longColour = good;
    longColour[29] = char(0x7f); // colour data length far past the end
    cases.append({"colour data past the end", longColour});
    cases.append(
        {"300000 x 300000 PSB in a small file", MakePsd({2, 3, 300000, 300000, 8, psd::Rgb}, QByteArray(64, 'x'))});
    cases.append({"56 channels, little data", MakePsd({1, 56, 1000, 1000, 8, psd::Rgb}, QByteArray(64, 'x'))});
    cases.append({"no channels", MakePsd({1, 0, 4, 4, 8, psd::Grayscale}, QByteArray(16, 'g'))});
    for (int depth : {0, 2, 7, 64})
        cases.append(
            {QStringLiteral("depth %1").arg(depth), MakePsd({1, 1, 4, 4, depth, psd::Grayscale}, QByteArray(64, 'g'))});
    cases.append({"32-bit samples", MakePsd({1, 1, 1, 1, 32, psd::Grayscale}, QByteArray(4, 'g'))});
    cases.append({"colour mode 5", MakePsd({1, 1, 4, 4, 8, 5}, QByteArray(16, 'g'))});
    cases.append({"ZIP compression", MakePsd(gray, QByteArray(16, 'g'), {}, 2)});
    cases.append({"RGB with two channels", MakePsd({1, 2, 4, 4, 8, psd::Rgb}, QByteArray(32, 'g'))});
    cases.append({"16-bit CMYK with three channels", MakePsd({1, 3, 1, 1, 16, psd::Cmyk}, QByteArray(6, 'g'))});
    cases.append({"indexed with two channels", MakePsd({1, 2, 1, 1, 8, psd::Indexed}, QByteArray(2, 'g'))});
    const QByteArray table(8, '\0');
    cases.append({"RLE one byte short", MakePsd(gray, Literal(QByteArray(15, 'g')), {}, 1, table)});
    cases.append(
        {"RLE run past the plane", MakePsd(gray, QByteArray::fromHex("81677f") + QByteArray(128, 'g'), {}, 1, table)});
    cases.append({"RLE claiming a huge plane", MakePsd({1, 3, 20000, 20000, 8, psd::Rgb}, QByteArray::fromHex("8167"),
                                                       {}, 1, QByteArray(3 * 20000 * 2, '\0'))});
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.first));
        QImage untouched = Solid(Qt::red, {3, 3});
        const QImage before = untouched;
        EXPECT_FALSE(Decode(c.second, &untouched));
        EXPECT_FALSE(Decode(c.second, &untouched, QSize(2, 2))) << "read from every other row";
        EXPECT_EQ(untouched, before);
    }
    // RLE that decodes to exactly the planes is read.
    EXPECT_FALSE(Decode(MakePsd(gray, Literal(QByteArray(16, 'g')), {}, 1, table)).isNull());
    EXPECT_FALSE(Decode(MakePsd(gray, QByteArray::fromHex("f167"), {}, 1, table)).isNull()); // 1 − (−15) = 16
}

// The planes are unpacked from the file piece by piece: a run cut by a piece's end waits for the
// next one, and a cut anywhere gives what the whole stream gives.
TEST(PsdDecoder, PackBitsCutAnywhereUnpacksAsWhole)
{
    const struct {
        const char* hex;
        const char* unpacked;
    } cases[] = {
        {"02616263", "abc"}, {"fe78", "xxx"}, {"80", ""}, {"016162800079fd7a", "abyzzzz"},
        {"0261", "a"}, // a literal the file cuts short keeps what it has
    };
    for (const auto& c : cases) {
        const QByteArray packed = QByteArray::fromHex(c.hex);
        for (int cut = 0; cut <= packed.size(); ++cut) {
            SCOPED_TRACE(QStringLiteral("%1 cut at %2").arg(c.hex).arg(cut).toStdString());
            QByteArray out(16, '\0');
            qint64 used = 0;
            const qint64 taken = psd::UnpackRuns(packed.constData(), cut, false, out.data(), out.size(), &used);
            ASSERT_GE(taken, 0);
            const QByteArray rest = packed.mid(int(taken));
            ASSERT_EQ(psd::UnpackRuns(rest.constData(), rest.size(), true, out.data(), out.size(), &used), rest.size());
            EXPECT_EQ(out.left(int(used)), QByteArray(c.unpacked));
        }
    }
}

// Inputs the fuzzer once found troublesome: each must fail or decode, never crash.
TEST(PsdDecoder, FuzzFindingsStayFixed)
{
    for (const auto& finding : FuzzFindings("psd"))
        Decode(finding.second);
}

} // namespace
