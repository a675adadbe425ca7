#include "media/coverreader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <taglib/aifffile.h>
#include <taglib/apefile.h>
#include <taglib/apetag.h>
#include <taglib/asffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpcfile.h>
#include <taglib/mpegfile.h>
#include <taglib/trueaudiofile.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tfilestream.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>
#include <taglib/xiphcomment.h>

#include <new>
#include <string>

namespace {

constexpr unsigned kMaxPictureBytes = 64u << 20;
constexpr qint64 kMaxPixels = 100'000'000;
constexpr int kMaxSide = 30000;

using TagLib::ByteVector;

// TagLib picks the reader by the stream's name first, so the data gets a name with the suffix.
class NamedByteStream : public TagLib::ByteVectorStream
{
public:
    NamedByteStream(const ByteVector& data, const QString& suffix)
        : ByteVectorStream(data), m_name(("data." + suffix.toLower()).toStdString())
    {}
    TagLib::FileName name() const override { return m_name.c_str(); }

private:
    std::string m_name;
};

ByteVector FromId3(TagLib::ID3v2::Tag* tag)
{
    if (!tag)
        return {};
    ByteVector first;
    for (TagLib::ID3v2::Frame* frame : tag->frameList("APIC")) {
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
    ByteVector first;
    for (const TagLib::ASF::Attribute& attribute : tag->attribute("WM/Picture")) {
        const TagLib::ASF::Picture picture = attribute.toPicture();
        if (picture.type() == TagLib::ASF::Picture::FrontCover)
            return picture.picture();
        if (first.isEmpty())
            first = picture.picture();
    }
    return first;
}

ByteVector FromApe(TagLib::APE::Tag* tag)
{
    if (!tag)
        return {};
    for (const char* key : {"COVER ART (FRONT)", "COVER ART (OTHER)"}) {
        if (!tag->itemListMap().contains(key))
            continue;
        // An APE cover is "file name\0picture bytes".
        const ByteVector value = tag->itemListMap()[key].binaryData();
        const int nul = value.find('\0');
        if (nul >= 0)
            return value.mid(unsigned(nul) + 1);
    }
    return {};
}

ByteVector FromFile(TagLib::File* file)
{
    using namespace TagLib;
    if (!file)
        return ByteVector();
    if (auto* mpeg = dynamic_cast<MPEG::File*>(file))
        return FromId3(mpeg->ID3v2Tag());
    if (auto* flac = dynamic_cast<FLAC::File*>(file)) {
        const ByteVector own = FromFlacPictures(flac->pictureList());
        return own.isEmpty() ? FromId3(flac->ID3v2Tag()) : own;
    }
    if (auto* mp4 = dynamic_cast<MP4::File*>(file))
        return FromMp4(mp4->tag());
    if (auto* wav = dynamic_cast<RIFF::WAV::File*>(file))
        return FromId3(wav->ID3v2Tag());
    if (auto* aiff = dynamic_cast<RIFF::AIFF::File*>(file))
        return FromId3(aiff->tag());
    if (auto* tta = dynamic_cast<TrueAudio::File*>(file))
        return FromId3(tta->ID3v2Tag());
    if (auto* asf = dynamic_cast<ASF::File*>(file))
        return FromAsf(asf->tag());
    if (auto* ape = dynamic_cast<APE::File*>(file))
        return FromApe(ape->APETag());
    if (auto* wavPack = dynamic_cast<WavPack::File*>(file))
        return FromApe(wavPack->APETag());
    if (auto* mpc = dynamic_cast<MPC::File*>(file))
        return FromApe(mpc->APETag());
    // Vorbis, Opus, Speex and Ogg FLAC keep their pictures in a Xiph comment.
    return FromXiph(dynamic_cast<Ogg::XiphComment*>(file->tag()));
}

// By the name's suffix first; by the content when that reader does not take the stream.
QByteArray ReadFromStream(TagLib::IOStream* stream)
{
    const TagLib::FileRef ref(stream, false, TagLib::AudioProperties::Fast);
    if (ref.isNull())
        return QByteArray();
    const ByteVector picture = FromFile(ref.file());
    if (picture.size() > kMaxPictureBytes)
        return QByteArray();
    return QByteArray(picture.data(), int(picture.size()));
}

// TagLib does not throw, but its allocations can.
template <typename Read>
QByteArray Guarded(Read read)
{
    try {
        return read();
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
        return stream.isOpen() ? ReadFromStream(&stream) : QByteArray();
    });
}

QByteArray ReadCoverBytesFromData(const QByteArray& data, const QString& suffix)
{
    return Guarded([&] {
        NamedByteStream stream(ByteVector(data.constData(), unsigned(data.size())), suffix);
        return ReadFromStream(&stream);
    });
}

// Covers come in everyday formats. Other decoders are never started on a tag's bytes: some of
// them start programs (EPS through Ghostscript) or thread pools that outlive the read.
static QByteArray CoverFormat(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return "jpeg";
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return "png";
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return "gif";
    if (bytes.startsWith("BM"))
        return "bmp";
    if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP")
        return "webp";
    return QByteArray();
}

QImage DecodeCover(const QByteArray& bytes)
{
    const QByteArray format = CoverFormat(bytes);
    if (format.isEmpty())
        return QImage();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    // The header's size, checked before anything of that size is allocated.
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxSide || size.height() > kMaxSide ||
        qint64(size.width()) * size.height() > kMaxPixels)
        return QImage();
    return reader.read();
}

QImage ReadCoverPicture(const QString& path) { return DecodeCover(ReadCoverBytes(path)); }
