#pragma once

#include "viewers/cabstractmanager.h"

#include <QFuture>
#include <QImage>
#include <QList>
#include <QMovie>
#include <QSize>

class QImageReader;

// Travels in the QVariant of a queued result.
Q_DECLARE_METATYPE(QMovie*)

// The largest picture shown unscaled: the biggest preview window less its frame and control bar.
QSize PictureLimit();

// The size a reader's picture has on screen, its EXIF turn applied.
QSize DisplayedSize(QImageReader& reader);

// What a still picture is first read at, so that it fits `limit` the way it will be shown.
QSize FittedReadSize(const QSize& rawSize, bool turnedQuarter, const QSize& limit);

// Reads pictures on the global thread pool. Every result is handed over on the GUI thread,
// and only while its path is still the one shown.
class CPictureManager : public CAbstractManager
{
    Q_OBJECT
public:
    explicit CPictureManager(QObject* parent = nullptr);
    ~CPictureManager() override;

    // Pictures whose full size would take more memory than this are shown scaled only.
    static constexpr qint64 FullImageByteLimit = 512LL << 20;

public slots:
    void Perform() override;
    void Stop() override;

signals:
    void SigFullImageReady(QImage pix);

private:
    void LoadJob(const QString& path, int subType);
    void LoadAnimation(const QString& path);
    void LoadPsd(const QString& path);
    void LoadStill(const QString& path);
    void Deliver(const QString& path, const QVariant& value, const QString& err);
    void DeliverFullImage(const QString& path, const QImage& image);

    QMovie* m_movie;
    QList<QFuture<void>> m_jobs;
};

// Whether `path`, a job's path, is still the one the registry shows (or a link's target that is).
bool IsCurrentPicturePath(const QString& path);
