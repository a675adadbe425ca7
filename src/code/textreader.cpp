#include "code/textreader.h"

#include "code/encodingguess.h"
#include "code/linesplitter.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QTextCodec>
#include <QThread>

#include <memory>
#include <thread>

namespace {

constexpr qint64 kMostQueued = 64 * 1024 * 1024;

qint64 Estimate(qint64 lines, qint64 read, qint64 size)
{
    return read > 0 && size > read ? lines * size / read : lines;
}

} // namespace

TextReader::TextReader(QObject* parent) : QObject(parent) { qRegisterMetaType<TextPiece>(); }

TextReader::~TextReader() { Stop(); }

void TextReader::Start(const QString& path, QTextCodec* codec)
{
    Stop();
    m_flow = std::make_shared<Flow>();
    m_flow->receiver = this;
    std::thread(&TextReader::Read, m_flow, m_job, path, codec).detach();
}

void TextReader::Stop()
{
    ++m_job; // what the left reading had sent already is not taken
    if (!m_flow)
        return;
    m_flow->stop = true;
    {
        const QMutexLocker locked(&m_flow->lock);
        m_flow->receiver = nullptr;
    }
    m_flow.reset();
}

void TextReader::Consumed(qint64 bytes)
{
    if (m_flow)
        m_flow->queued -= bytes;
}

void TextReader::Flow::Send(const TextPiece& piece)
{
    queued += piece.utf8.size();
    const QMutexLocker locked(&lock);
    if (TextReader* to = receiver)
        QMetaObject::invokeMethod(to, [to, piece] { emit to->SigPiece(piece); }, Qt::QueuedConnection);
}

// On a thread of its own.
void TextReader::Read(const std::shared_ptr<Flow>& flow, int job, const QString& path, QTextCodec* codec)
{
    TextPiece piece;
    piece.job = job;
    QFile file(path);
    // Opening a FIFO or a device would wait for a writer or read for ever.
    const QFileInfo info(path);
    piece.notRegular = info.exists() && !info.isFile();
    if (piece.notRegular || !file.open(QIODevice::ReadOnly)) {
        piece.error = file.errorString();
        piece.last = true;
        return flow->Send(piece);
    }
    const qint64 size = file.size();
    piece.fileSize = size;
    QByteArray bytes = file.read(TextReader::kFirstPiece);
    if (!codec)
        codec = CodecForText(bytes, QTextCodec::codecForLocale());
    piece.codec = codec;
    std::unique_ptr<QTextDecoder> decoder(codec->makeDecoder());
    LineSplitter splitter;
    qint64 read = 0;
    while (!flow->stop) {
        read += bytes.size();
        piece.utf8 = splitter.Feed(decoder->toUnicode(bytes)).toUtf8();
        piece.breaks = splitter.TakeBreaks();
        piece.last = bytes.isEmpty() || file.atEnd();
        piece.lineEstimate = piece.last ? splitter.FileLines() : Estimate(splitter.FileLines(), read, size);
        flow->Send(piece);
        if (piece.last)
            return;
        piece.codec = nullptr;
        while (flow->queued > kMostQueued && !flow->stop)
            QThread::msleep(10);
        bytes = file.read(TextReader::kPiece); // empty at an early end: the file shrank or went away
    }
}
