#include "media/coverreader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <taglib/apetag.h>
#include <taglib/apefile.h>
#include <taglib/asffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/rifffile.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tfilestream.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include <functional>
#include <new>

namespace {

constexpr unsigned kMaxPictureBytes = 64u << 20;
constexpr qint64 kMaxPixels = 100'000'000;
constexpr int kMaxSide = 30000;

using TagLib::ByteVector;

QByteArray ToBytes(const ByteVector& v)
{
    return v.size() > kMaxPictureBytes ? QByteArray() : QByteArray(v.data(), int(v.size()));
}

ByteVector FromId3(TagLib::ID3v2::Tag* tag)
{
    if (!tag)
        return {};
    const TagLib::ID3v2::FrameList frames = tag->frameListMap()["APIC"];
    ByteVector first;
    for (TagLib::ID3v2::Frame* frame : frames) {
        auto* picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
        if (!picture)
            continue;
        if (picture->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover)
            return picture->picture();
        if (first.isEmpty())
            first = picture->picture();
    }
    return first;
}

ByteVector FromFlacPictures(const TagLib::List<TagLib::FLAC::Picture*>& pictures)
{
    ByteVector first;
    for (TagLib::FLAC::Picture* picture : pictures) {
        if (picture->type() == TagLib::FLAC::Picture::FrontCover)
            return picture->data();
        if (first.isEmpty())
            first = picture->data();
    }
    return first;
}

ByteVector FromXiph(TagLib::Ogg::XiphComment* tag) { return tag ? FromFlacPictures(tag->pictureList()) : ByteVector(); }

ByteVector FromMp4(TagLib::MP4::Tag* tag)
{
    if (!tag || !tag->contains("covr"))
        return {};
    const TagLib::MP4::CoverArtList covers = tag->item("covr").toCoverArtList();
    return covers.isEmpty() ? ByteVector() : covers.front().data();
}

ByteVector FromAsf(TagLib::ASF::Tag* tag)
{
    if (!tag || !tag->contains("WM/Picture"))
        return {};
    const TagLib::ASF::AttributeList list = tag->attribute("WM/Picture");
    return list.isEmpty() ? ByteVector() : list.front().toPicture().picture();
}

ByteVector FromApe(TagLib::APE::Tag* tag)
{
    if (!tag || !tag->itemListMap().contains("COVER ART (FRONT)"))
        return {};
    // An APE cover is "file name\0picture bytes".
    const ByteVector value = tag->itemListMap()["COVER ART (FRONT)"].binaryData();
    const int nul = value.find('\0');
    return nul < 0 ? ByteVector() : value.mid(unsigned(nul) + 1);
}

ByteVector ReadFromStream(TagLib::IOStream* stream, const QString& suffix)
{
    const QString s = suffix.toLower();
    constexpr bool kNoProperties = false;
    if (s == QLatin1String("mp3") || s == QLatin1String("mp2") || s == QLatin1String("aac")) {
        TagLib::MPEG::File file(stream, TagLib::ID3v2::FrameFactory::instance(), kNoProperties);
        return file.isValid() ? FromId3(file.ID3v2Tag()) : ByteVector();
    }
    if (s == QLatin1String("flac")) {
        TagLib::FLAC::File file(stream, TagLib::ID3v2::FrameFactory::instance(), kNoProperties);
        if (!file.isValid())
            return {};
        const ByteVector own = FromFlacPictures(file.pictureList());
        return own.isEmpty() ? FromId3(file.ID3v2Tag()) : own;
    }
    if (s == QLatin1String("m4a") || s == QLatin1String("m4b") || s == QLatin1String("mp4")) {
        TagLib::MP4::File file(stream, kNoProperties);
        return file.isValid() ? FromMp4(file.tag()) : ByteVector();
    }
    if (s == QLatin1String("opus")) {
        TagLib::Ogg::Opus::File file(stream, kNoProperties);
        return file.isValid() ? FromXiph(file.tag()) : ByteVector();
    }
    if (s == QLatin1String("ogg") || s == QLatin1String("oga")) {
        // An .ogg may hold Vorbis, Opus or FLAC: try each.
        {
            TagLib::Ogg::Vorbis::File file(stream, kNoProperties);
            if (file.isValid())
                return FromXiph(file.tag());
        }
        stream->seek(0);
        {
            TagLib::Ogg::Opus::File file(stream, kNoProperties);
            if (file.isValid())
                return FromXiph(file.tag());
        }
        stream->seek(0);
        TagLib::Ogg::FLAC::File file(stream, kNoProperties);
        return file.isValid() ? FromXiph(file.tag()) : ByteVector();
    }
    if (s == QLatin1String("wav")) {
        TagLib::RIFF::WAV::File file(stream, kNoProperties);
        return file.isValid() ? FromId3(file.ID3v2Tag()) : ByteVector();
    }
    if (s == QLatin1String("wma") || s == QLatin1String("asf")) {
        TagLib::ASF::File file(stream, kNoProperties);
        return file.isValid() ? FromAsf(file.tag()) : ByteVector();
    }
    if (s == QLatin1String("ape")) {
        TagLib::APE::File file(stream, kNoProperties);
        return file.isValid() ? FromApe(file.APETag()) : ByteVector();
    }
    return {};
}

QByteArray Guarded(const std::function<ByteVector()>& read)
{
    try {
        return ToBytes(read());
    } catch (const std::bad_alloc&) {
        return QByteArray();
    }
}

} // namespace

QByteArray ReadCoverBytes(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) // a FIFO would block, a folder has no tags
        return QByteArray();
    return Guarded([&] {
        TagLib::FileStream stream(QFile::encodeName(path).constData(), true);
        return stream.isOpen() ? ReadFromStream(&stream, info.suffix()) : ByteVector();
    });
}

QByteArray ReadCoverBytesFromData(const QByteArray& data, const QString& suffix)
{
    return Guarded([&] {
        ByteVector bytes(data.constData(), unsigned(data.size()));
        TagLib::ByteVectorStream stream(bytes);
        return ReadFromStream(&stream, suffix);
    });
}

QImage DecodeCover(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return QImage();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxSide || size.height() > kMaxSide ||
        qint64(size.width()) * size.height() > kMaxPixels)
        return QImage();
    return reader.read();
}

QImage ReadCoverPicture(const QString& path) { return DecodeCover(ReadCoverBytes(path)); }
