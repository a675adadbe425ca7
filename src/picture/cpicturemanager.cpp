#include "picture/cpicturemanager.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "cglobaldata/screenarea.h"
#include "picture/qpsdhandler.h"

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

qint64 ImageBytes(const QSize& size) { return qint64(qMax(0, size.width())) * qMax(0, size.height()) * 4; }

bool TurnsQuarter(const QImageReader& reader)
{
    return reader.transformation() & QImageIOHandler::TransformationRotate90;
}

} // namespace

QSize PictureLimit()
{
    static const QSize limit = MaxWndSize() - QSize(60, 132);
    return limit;
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

CPictureManager::CPictureManager(QObject* parent) : CAbstractManager(parent), m_movie(new QMovie)
{
    qRegisterMetaType<QMovie*>("QMovie*");
}

// The jobs post back to this object; none may outlive it.
CPictureManager::~CPictureManager()
{
    for (QFuture<void>& job : m_jobs)
        job.waitForFinished();
    delete m_movie;
}

void CPictureManager::Perform()
{
    m_jobs.erase(std::remove_if(m_jobs.begin(), m_jobs.end(), [](const QFuture<void>& f) { return f.isFinished(); }),
                 m_jobs.end());
    // Read here, on the GUI thread that writes them: the job works on this pair whatever comes next.
    const QString path = CGlobalData::Instance().Path();
    const int subType = CGlobalData::Instance().SubType();
    m_jobs.append(QtConcurrent::run(QThreadPool::globalInstance(), [this, path, subType] { LoadJob(path, subType); }));
}

void CPictureManager::Stop()
{
    m_movie->stop();
    m_movie->setFileName(QString());
}

void CPictureManager::LoadJob(const QString& path, int subType)
{
    // A FIFO or a device would hold a pool thread for ever.
    const QFileInfo fi(path);
    if (fi.exists() && !fi.isFile()) {
        Deliver(path, QVariant(), UnknownText());
        return;
    }
    if (subType == ST_ANIMATION)
        LoadAnimation(path);
    else if (subType == ST_PSD)
        LoadPsd(path);
    else
        LoadStill(path);
}

void CPictureManager::LoadAnimation(const QString& path)
{
    // A header alone passes isValid(): the first frame must decode too.
    QMovie probe(path);
    if (!probe.isValid() || !probe.jumpToFrame(0) || probe.currentImage().isNull()) {
        Deliver(path, QVariant(), UnknownText());
        return;
    }
    // The shared movie belongs to the GUI thread: it takes the file there.
    QMetaObject::invokeMethod(this, [this, path] {
        if (!IsCurrentPicturePath(path))
            return;
        m_movie->setFileName(path);
        m_err.clear();
        emit SigPerformFinished(QVariant::fromValue(m_movie));
    }, Qt::QueuedConnection);
}

void CPictureManager::LoadPsd(const QString& path)
{
    QImage image;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        QPsdHandler handler;
        if (QPsdHandler::canRead(&file)) {
            handler.setDevice(&file);
            handler.read(&image);
        }
        file.close();
    }
    Deliver(path, QVariant(image), image.isNull() ? UnknownText() : QString());
}

void CPictureManager::LoadStill(const QString& path)
{
    QImageReader reader(path, QByteArray());
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        Deliver(path, QVariant(), reader.errorString());
        return;
    }
    const QSize raw = reader.size();
    const QSize fitted = FittedReadSize(raw, TurnsQuarter(reader), PictureLimit());
    const bool scaled = raw.isValid() && fitted != raw;
    if (scaled)
        reader.setScaledSize(fitted);
    // A reader that cannot scale while decoding would build the whole picture first.
    if (ImageBytes(raw) > FullImageByteLimit && !reader.supportsOption(QImageIOHandler::ScaledSize)) {
        Deliver(path, QVariant(), QCoreApplication::translate("CAbstractManager", "The picture is too large."));
        return;
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        Deliver(path, QVariant(), reader.errorString());
        return;
    }
    Deliver(path, QVariant(image), QString());
    if (!scaled)
        return;
    QImage full;
    if (ImageBytes(raw) <= FullImageByteLimit) {
        QImageReader fullReader(path);
        fullReader.setAutoTransform(true);
        if (fullReader.canRead())
            full = fullReader.read();
    }
    DeliverFullImage(path, full);
}

void CPictureManager::Deliver(const QString& path, const QVariant& value, const QString& err)
{
    QMetaObject::invokeMethod(this, [this, path, value, err] {
        if (!IsCurrentPicturePath(path))
            return;
        m_err = err;
        emit SigPerformFinished(value);
    }, Qt::QueuedConnection);
}

void CPictureManager::DeliverFullImage(const QString& path, const QImage& image)
{
    QMetaObject::invokeMethod(this, [this, path, image] {
        if (image.isNull() || !IsCurrentPicturePath(path)) {
            qDebug() << "read full image failed";
            return;
        }
        emit SigFullImageReady(image);
    }, Qt::QueuedConnection);
}
