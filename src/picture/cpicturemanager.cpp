#include "picture/cpicturemanager.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "cglobaldata/screenarea.h"
#include "picture/qpsdhandler.h"
#include "picture/svgguard.h"
#include "picture/webpdecode.h"
#include "stoppablefile/stoppablefile.h"

#include <QBuffer>
#include <QColorSpace>
#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMovie>
#include <QThreadPool>
#include <QtConcurrent>

namespace {

QString UnknownText() { return QCoreApplication::translate("CAbstractManager", "Unknown"); }

QString TooLargeText() { return QCoreApplication::translate("CAbstractManager", "The picture is too large."); }

// Enough for every reader's look at the content: the look happens under a lock all readers of
// the process share, so it must never wait on the file.
constexpr qint64 HeadBytes = 1 << 20;

// The readers' own words for content none of them takes.
QString NoReaderText(const QByteArray& head)
{
    QBuffer buffer;
    buffer.setData(head);
    QImageReader reader(&buffer);
    return reader.canRead() ? UnknownText() : reader.errorString();
}

bool TurnsQuarter(const QImageReader& reader)
{
    return reader.transformation() & QImageIOHandler::TransformationRotate90;
}

// Screens are taken as sRGB: X gives no colour space for them.
QImage InScreenColours(QImage image)
{
    const QColorSpace srgb(QColorSpace::SRgb);
    if (image.colorSpace().isValid() && image.colorSpace() != srgb)
        image.convertToColorSpace(srgb);
    return image;
}

} // namespace

qint64 DecodedBytes(const QSize& size, QImage::Format format)
{
    // A damaged header can leave a reader's format out of range (Qt's JPEG reader does).
    const bool known = format > QImage::Format_Invalid && format < QImage::NImageFormats;
    const int bits = known ? QImage::toPixelFormat(format).bitsPerPixel() : 32;
    return (qint64(qMax(0, size.width())) * bits + 7) / 8 * qMax(0, size.height());
}

QByteArray PictureFormat(const QByteArray& head, const QString& suffix)
{
    QBuffer buffer;
    buffer.setData(head);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray named = suffix.toLower().toLatin1();
    if (!named.isEmpty() && QImageReader::supportedImageFormats().contains(named)) {
        QImageReader bySuffix(&buffer, named);
        if (bySuffix.canRead())
            return named;
        buffer.seek(0);
    }
    return QImageReader::imageFormat(&buffer);
}

QSize PictureLimit()
{
    const QRect area = CGlobalData::Instance().ScreenArea();
    return area.isEmpty() ? MaxContentSize() : MaxContentSize(area);
}

QSize DisplayedSize(QImageReader& reader)
{
    const QSize raw = reader.size();
    return TurnsQuarter(reader) ? raw.transposed() : raw;
}

QSize FittedReadSize(const QSize& rawSize, bool turnedQuarter, const QSize& limit)
{
    // The reader scales before it turns: fit the raw picture into the limit turned the same way.
    const QSize box = turnedQuarter ? limit.transposed() : limit;
    if (rawSize.width() <= box.width() && rawSize.height() <= box.height())
        return rawSize;
    return rawSize.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

bool IsCurrentPicturePath(const QString& path)
{
    const QString current = CGlobalData::Instance().Path();
    if (path == current)
        return true;
    const QFileInfo fi(current);
    if (fi.isSymLink() && fi.symLinkTarget() == path)
        return true;
    qDebug() << "thread sync error" << path << current;
    return false;
}

CPictureManager::CPictureManager(QObject* parent)
    : CAbstractManager(parent), m_movie(new QMovie), m_pool(new QThreadPool), m_shared(std::make_shared<Shared>(this))
{
    qRegisterMetaType<QMovie*>("QMovie*");
    m_pool->setMaxThreadCount(MaxDecodes);
    m_deadlineTimer.setSingleShot(true);
    connect(&m_deadlineTimer, &QTimer::timeout, this, &CPictureManager::CheckDeadlines);
    m_fullReadTimer.setSingleShot(true);
    connect(&m_fullReadTimer, &QTimer::timeout, this, &CPictureManager::RequestFullImage);
    m_clock.start();
}

// A job whose read never returns must not keep the program from quitting: its thread ends with
// the process, and posts nothing if its read returns before.
CPictureManager::~CPictureManager()
{
    m_shared->box.Close();
    ++m_shared->generation;
    if (m_pool->waitForDone(1000))
        delete m_pool;
    delete m_movie;
}

void CPictureManager::Perform()
{
    CheckDeadlines();
    m_fullRead = {};
    m_fullReadTimer.stop();
    // Read here, on the GUI thread that writes them: the job works on this pair whatever comes next.
    const QString path = CGlobalData::Instance().Path();
    const int subType = CGlobalData::Instance().SubType();
    const int generation = ++m_shared->generation;
    const Load load{path, generation, m_shared, this};
    RunJob(generation, [load, subType] { LoadJob(load, subType); });
}

void CPictureManager::RunJob(int generation, const std::function<void()>& work)
{
    auto started = std::make_shared<std::atomic<bool>>(false);
    const std::shared_ptr<Shared> shared = m_shared;
    const QFuture<void> future = QtConcurrent::run(m_pool, [work, started, shared, generation] {
        started->store(true);
        if (shared->generation.load() == generation)
            work();
    });
    m_jobs.append({future, started, m_clock.elapsed() + TimeLimitMs, generation, false});
    if (!m_deadlineTimer.isActive())
        m_deadlineTimer.start(TimeLimitMs);
}

void CPictureManager::RequestFullImage()
{
    m_fullReadTimer.stop();
    if (!m_fullRead.read || m_fullRead.load.Stopped()) {
        m_fullRead = {};
        return;
    }
    const FullRead full = m_fullRead;
    m_fullRead = {};
    RunJob(full.load.generation, [full] {
        const QImage image = full.read();
        if (!full.load.Stopped())
            DeliverFullImage(full.load, image);
    });
}

// A job past its time has failed if it is the one shown; if its read is still stuck, a thread
// takes its place.
void CPictureManager::CheckDeadlines()
{
    const qint64 now = m_clock.elapsed();
    qint64 next = -1;
    int stuck = 0;
    for (auto job = m_jobs.begin(); job != m_jobs.end();) {
        if (job->future.isFinished()) {
            job = m_jobs.erase(job);
            continue;
        }
        if (!job->stuck && job->deadline <= now) {
            job->stuck = job->started->load();
            if (job->generation == m_shared->generation.load() && job->generation != m_answered) {
                ++m_shared->generation;
                Fail(TooLongToReadText());
            }
        }
        if (job->stuck)
            ++stuck;
        else if (job->deadline > now && (next < 0 || job->deadline < next))
            next = job->deadline;
        ++job;
    }
    m_pool->setMaxThreadCount(MaxDecodes + qMin(stuck, MaxStuckReads));
    if (next >= 0)
        m_deadlineTimer.start(int(next - now));
}

void CPictureManager::Stop()
{
    ++m_shared->generation;
    m_fullRead = {};
    m_fullReadTimer.stop();
    m_movie->stop();
    m_movie->setFileName(QString());
}

void CPictureManager::LoadJob(const Load& load, int subType)
{
    const QString& path = load.path;
    // A FIFO or a device would hold a pool thread for ever.
    const QFileInfo fi(path);
    if (fi.exists() && !fi.isFile()) {
        Deliver(load, QVariant(), UnknownText());
        return;
    }
    if (subType == ST_PSD) {
        LoadPsd(load);
        return;
    }
    StoppableFile file(path, [load] { return load.Stopped(); });
    if (!file.open(QIODevice::ReadOnly)) {
        Deliver(load, QVariant(), file.errorString());
        return;
    }
    const QByteArray head = file.read(HeadBytes);
    const QByteArray format = PictureFormat(head, fi.suffix());
    if (file.IsStopped())
        return;
    if (format.isEmpty())
        Deliver(load, QVariant(), NoReaderText(head));
    else if (subType == ST_ANIMATION)
        LoadAnimation(load, format);
    else
        LoadStill(load, format);
}

void CPictureManager::LoadAnimation(const Load& load, const QByteArray& format)
{
    const QString& path = load.path;
    // GIF and WebP name stills too: one frame is a picture like any other, fitted the same way.
    QImageReader reader(path, format);
    if (reader.canRead() && !(reader.supportsAnimation() && reader.imageCount() != 1)) {
        LoadStill(load, format);
        return;
    }
    // The movie decodes each frame on the GUI thread: a bit-flipped WebP claiming a canvas 8 million
    // pixels wide froze the window for seconds a frame. A larger canvas is shown as a still, read here.
    if (DecodedBytes(reader.size(), QImage::Format_ARGB32) > MovieFrameByteLimit) {
        LoadStill(load, format);
        return;
    }
    // A header alone passes isValid(): the first frame must decode too.
    QMovie probe(path, format);
    if (!probe.isValid() || !probe.jumpToFrame(0) || probe.currentImage().isNull()) {
        Deliver(load, QVariant(), UnknownText());
        return;
    }
    const QSize size = reader.size().isValid() ? reader.size() : probe.currentImage().size();
    if (DecodedBytes(size, QImage::Format_ARGB32) > MovieFrameByteLimit) {
        LoadStill(load, format);
        return;
    }
    const QSize shown = FittedReadSize(size, false, PictureLimit());
    // The shared movie belongs to the GUI thread: it takes the file there.
    load.shared->box.Post([self = load.owner, path, format, size, shown] {
        if (!IsCurrentPicturePath(path))
            return;
        self->m_answered = self->m_shared->generation.load();
        self->m_movie->setFormat(format);
        self->m_movie->setFileName(path);
        self->m_movie->setScaledSize(shown == size ? QSize() : shown);
        self->m_fullSize = shown;
        self->m_err.clear();
        emit self->SigPerformFinished(QVariant::fromValue(self->m_movie));
    });
}

void CPictureManager::LoadPsd(const Load& load)
{
    StoppableFile file(load.path, [load] { return load.Stopped(); });
    if (!file.open(QIODevice::ReadOnly) || !QPsdHandler::canRead(&file)) {
        Deliver(load, QVariant(), UnknownText());
        return;
    }
    QPsdHandler handler;
    handler.setDevice(&file);
    const QSize size = handler.option(QImageIOHandler::Size).toSize();
    if (DecodedBytes(size, QImage::Format_ARGB32) > FullImageByteLimit) {
        Deliver(load, QVariant(), TooLargeText());
        return;
    }
    const QSize fitted = FittedReadSize(size, false, PictureLimit());
    QImage image;
    if (size.width() >= 2 * fitted.width() && size.height() >= 2 * fitted.height()) {
        // Every n-th row and column make the fitted picture; the whole one comes later.
        handler.setOption(QImageIOHandler::ScaledSize, fitted);
        if (handler.read(&image)) {
            Deliver(load, QVariant(image), QString(), size, [load] { return ReadPsd(load); });
            return;
        }
    }
    image = ReadPsd(load);
    if (load.Stopped())
        return;
    if (image.isNull())
        Deliver(load, QVariant(), UnknownText());
    else
        DeliverWhole(load, image, FittedReadSize(image.size(), false, PictureLimit()));
}

QImage CPictureManager::ReadPsd(const Load& load)
{
    StoppableFile file(load.path, [load] { return load.Stopped(); });
    QPsdHandler handler;
    handler.setDevice(&file);
    QImage image;
    return file.open(QIODevice::ReadOnly) && handler.read(&image) ? image : QImage();
}

void CPictureManager::LoadStill(const Load& load, const QByteArray& format)
{
    const QString& path = load.path;
    StoppableFile file(path, [load] { return load.Stopped(); });
    if (!file.open(QIODevice::ReadOnly)) {
        Deliver(load, QVariant(), file.errorString());
        return;
    }
    if (format.startsWith("svg")) {
        LoadSvg(load, file);
        return;
    }
    if (format == "webp" && LoadWebpFitted(load, file, format))
        return;
    file.seek(0);
    QImageReader reader(&file, format);
    DecodeStill(load, reader, file, [load, format] { return ReadFull(load, format); });
}

// libwebp decodes a still straight at the fitted size, where the toolkit's reader decodes it whole.
bool CPictureManager::LoadWebpFitted(const Load& load, StoppableFile& file, const QByteArray& format)
{
    QSize raw;
    {
        QImageReader reader(&file, format);
        if (reader.transformation() != QImageIOHandler::TransformationNone)
            return false;
        raw = reader.size();
    }
    const QSize fitted = FittedReadSize(raw, false, PictureLimit());
    if (!raw.isValid() || fitted == raw || file.size() > WebpByteLimit || !file.seek(0))
        return false;
    const QImage image = InScreenColours(DecodeWebpScaled(file.readAll(), fitted));
    if (file.IsStopped())
        return true; // the preview has moved on
    if (image.isNull())
        return false;
    std::function<QImage()> readWhole;
    if (DecodedBytes(raw, QImage::Format_ARGB32) <= FullImageByteLimit)
        readWhole = [load, format] { return InScreenColours(ReadFull(load, format)); };
    Deliver(load, QVariant(image), QString(), raw, readWhole);
    return true;
}

void CPictureManager::LoadSvg(const Load& load, StoppableFile& file)
{
    const QString& path = load.path;
    file.seek(0);
    if (file.size() > SvgByteLimit) {
        Deliver(load, QVariant(), TooLargeText());
        return;
    }
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\x1f\x8b"))
        bytes = GunzipBounded(bytes, SvgByteLimit);
    const QByteArray clean = SvgWithLocalImagesOnly(bytes, QFileInfo(path).absolutePath());
    QBuffer buffer;
    buffer.setData(clean);
    QImageReader reader(&buffer, "svg");
    DecodeStill(load, reader, file, [clean] {
        QBuffer full;
        full.setData(clean);
        return QImageReader(&full, "svg").read();
    });
}

void CPictureManager::DecodeStill(const Load& load, QImageReader& reader, const StoppableFile& file,
                                  const std::function<QImage()>& readFull)
{
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        if (!file.IsStopped())
            Deliver(load, QVariant(), reader.errorString());
        return;
    }
    const QSize raw = reader.size();
    const QSize fitted = FittedReadSize(raw, TurnsQuarter(reader), PictureLimit());
    const bool scaled = raw.isValid() && fitted != raw;
    // A reader that cannot scale while decoding builds the whole picture anyway: that one serves both sizes.
    const bool scalesItself = reader.supportsOption(QImageIOHandler::ScaledSize);
    const qint64 rawBytes = DecodedBytes(raw, reader.imageFormat());
    if (rawBytes > FullImageByteLimit && !scalesItself) {
        Deliver(load, QVariant(), TooLargeText());
        return;
    }
    if (scaled && scalesItself)
        reader.setScaledSize(fitted);
    const QImage image = InScreenColours(reader.read());
    if (file.IsStopped())
        return;
    if (image.isNull()) {
        Deliver(load, QVariant(), reader.errorString());
        return;
    }
    const bool turned = TurnsQuarter(reader);
    const QSize fullSize = turned ? raw.transposed() : raw;
    if (scaled && !scalesItself) {
        DeliverWhole(load, image, turned ? fitted.transposed() : fitted);
        return;
    }
    // The whole picture would compete with showing this one: it is read later, or when asked for.
    std::function<QImage()> readWhole;
    if (scaled && rawBytes <= FullImageByteLimit)
        readWhole = [readFull] { return InScreenColours(readFull()); };
    Deliver(load, QVariant(image), QString(), fullSize, readWhole);
}

// A picture decoded whole serves both sizes: scaled to `shown` for the view, whole for Actual Size.
void CPictureManager::DeliverWhole(const Load& load, const QImage& image, const QSize& shown)
{
    if (shown == image.size()) {
        Deliver(load, QVariant(image), QString(), image.size());
        return;
    }
    Deliver(load, QVariant(image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)), QString(),
            image.size());
    DeliverFullImage(load, image);
}

QImage CPictureManager::ReadFull(const Load& load, const QByteArray& format)
{
    const QString& path = load.path;
    StoppableFile file(path, [load] { return load.Stopped(); });
    QImageReader reader(&file, format);
    reader.setAutoTransform(true);
    return reader.canRead() ? reader.read() : QImage();
}

void CPictureManager::Deliver(const Load& load, const QVariant& value, const QString& err, const QSize& fullSize,
                              const std::function<QImage()>& readFull)
{
    load.shared->box.Post([self = load.owner, load, value, err, fullSize, readFull] {
        if (!IsCurrentPicturePath(load.path))
            return;
        self->m_answered = self->m_shared->generation.load();
        self->m_err = err;
        self->m_fullSize = fullSize;
        self->m_fullRead = {load, load.Stopped() ? std::function<QImage()>() : readFull};
        if (self->m_fullRead.read)
            self->m_fullReadTimer.start(FullReadDelayMs);
        emit self->SigPerformFinished(value);
    });
}

void CPictureManager::DeliverFullImage(const Load& load, const QImage& image)
{
    load.shared->box.Post([self = load.owner, path = load.path, image] {
        if (image.isNull() || !IsCurrentPicturePath(path)) {
            qDebug() << "read full image failed";
            return;
        }
        emit self->SigFullImageReady(image);
    });
}
