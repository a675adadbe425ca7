#pragma once

#include "core/postbox.h"
#include "viewers/cabstractmanager.h"

#include <QElapsedTimer>
#include <QFuture>
#include <QImage>
#include <QList>
#include <QMovie>
#include <QSize>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

class StoppableFile;
class QImageReader;

// Travels in the QVariant of a queued result.
Q_DECLARE_METATYPE(QMovie*)

// The largest picture shown unscaled: the biggest preview window on the preview's screen less its
// frame and control bar.
QSize PictureLimit();

// The size a reader's picture has on screen, its EXIF turn applied.
QSize DisplayedSize(QImageReader& reader);

// What a still picture is first read at, so that it fits `limit` the way it will be shown.
QSize FittedReadSize(const QSize& rawSize, bool turnedQuarter, const QSize& limit);

// Memory a picture of `size` takes decoded in `format` (32 bits a pixel where the format is unknown).
qint64 DecodedBytes(const QSize& size, QImage::Format format);

// The reader format of a picture whose file starts with `head`: the suffix's own format when its
// reader takes the content, else the one the content names; empty when none does.
QByteArray PictureFormat(const QByteArray& head, const QString& suffix);

// Reads pictures on a pool of its own. Every result is handed over on the GUI thread, and only
// while its path is still the one shown; a job the preview has left stops at its next read. A
// load past its time limit fails, and a read that never returns (a network share gone away)
// has its thread replaced, up to a few.
class CPictureManager : public CAbstractManager
{
    Q_OBJECT
public:
    explicit CPictureManager(QObject* parent = nullptr);
    ~CPictureManager() override;

    // Pictures whose full size would take more memory than this are shown scaled only.
    static constexpr qint64 FullImageByteLimit = 512LL << 20;
    static constexpr qint64 MovieFrameByteLimit = 16LL << 20; // 2048 x 2048
    // Decodes at once, whatever the number of cores: each may hold up to the limit above.
    static constexpr int MaxDecodes = 2;
    // Larger SVG text, compressed or not, is not drawn.
    static constexpr qint64 SvgByteLimit = 64LL << 20;
    // Larger WebP files are left to the toolkit's reader, which reads them whole anyway.
    static constexpr qint64 WebpByteLimit = 256LL << 20;
    static constexpr int TimeLimitMs = 20000;
    // Threads added for reads that never returned.
    static constexpr int MaxStuckReads = 6;

    // The size of the last picture handed over as the user sees it at actual size (turned as it
    // shows); for an animation, the size it plays at.
    QSize FullSize() const { return m_fullSize; }

    // Until every job has ended; their results still have to arrive through the event loop.
    void WaitForJobs() { m_pool->waitForDone(); }

    // Whether the picture last handed over, shown fitted, has a full size still to come.
    bool FullImageToCome() const { return bool(m_fullRead.read); }

    // After the fitted picture, the whole one is read only once the user has stayed on it: a full
    // decode (a quarter second and 100 MB for 24 MP) would take a core from the next picture.
    static constexpr int FullReadDelayMs = 1500;

public slots:
    void Perform() override;
    void Stop() override;
    // Reads the full-size picture now if it is still to come: Actual Size was asked for.
    void RequestFullImage();

signals:
    void SigFullImageReady(QImage pix);

private:
    struct Job {
        QFuture<void> future;
        std::shared_ptr<std::atomic<bool>> started;
        qint64 deadline;
        int generation;
        bool stuck;
    };

    // What the jobs share with the manager; a job whose read never returns outlives it.
    struct Shared {
        explicit Shared(QObject* owner) : box(owner) {}
        std::atomic<int> generation{0};
        PostBox box;
    };
    // One load as its thread sees it; `owner` is only used in work posted through the box.
    struct Load {
        QString path;
        int generation;
        std::shared_ptr<Shared> shared;
        CPictureManager* owner;
        bool Stopped() const { return shared->generation.load() != generation; }
    };
    // The full-size read of a picture first shown fitted, until it starts.
    struct FullRead {
        Load load;
        std::function<QImage()> read;
    };

    void CheckDeadlines();
    void RunJob(int generation, const std::function<void()>& work);
    static void LoadJob(const Load& load, int subType);
    static void LoadAnimation(const Load& load, const QByteArray& format);
    static void LoadPsd(const Load& load);
    static QImage ReadPsd(const Load& load);
    static void LoadStill(const Load& load, const QByteArray& format);
    static bool LoadWebpFitted(const Load& load, StoppableFile& file, const QByteArray& format);
    static void LoadSvg(const Load& load, StoppableFile& file);
    static void DecodeStill(const Load& load, QImageReader& reader, const StoppableFile& file,
                            const std::function<QImage()>& readFull);
    static QImage ReadFull(const Load& load, const QByteArray& format);
    static void Deliver(const Load& load, const QVariant& value, const QString& err, const QSize& fullSize = QSize(),
                        const std::function<QImage()>& readFull = {});
    static void DeliverFullImage(const Load& load, const QImage& image);
    static void DeliverWhole(const Load& load, const QImage& image, const QSize& shown);

    QMovie* m_movie;
    QSize m_fullSize;
    QThreadPool* m_pool; // left to the process's end while a read is stuck: it would wait for ever
    QTimer m_deadlineTimer;
    QElapsedTimer m_clock;
    std::shared_ptr<Shared> m_shared;
    int m_answered = 0; // the generation whose result was handed over last
    QList<Job> m_jobs;
    FullRead m_fullRead;
    QTimer m_fullReadTimer;
};

// Whether `path`, a job's path, is still the one the registry shows (or a link's target that is).
bool IsCurrentPicturePath(const QString& path);
