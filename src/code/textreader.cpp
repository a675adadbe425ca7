#include "code/textreader.h"

#include "code/encodingguess.h"
#include "code/iloader.h"
#include "code/linesplitter.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QTextCodec>
#include <QThread>

#include <memory>
#include <thread>
#include <utility>

namespace {

constexpr qint64 kMostQueued = 64 * 1024 * 1024;

qint64 Estimate(qint64 lines, qint64 read, qint64 size)
{
    return read > 0 && size > read ? lines * size / read : lines;
}

} // namespace

TextReader::TextReader(QObject* parent) : QObject(parent), m_link(std::make_shared<Link>())
{
    qRegisterMetaType<TextPiece>();
    m_link->reader = this;
}

TextReader::~TextReader()
{
    Stop();
    const QMutexLocker locked(&m_link->lock);
    m_link->reader = nullptr;
}

void TextReader::Start(const QString& path, QTextCodec* codec)
{
    Stop();
    m_flow = std::make_shared<Flow>();
    m_flow->link = m_link;
    std::thread(&TextReader::Read, m_flow, m_job, path, codec).detach();
}

void TextReader::Stop()
{
    ++m_job; // what the left reading had sent already is not taken
    if (!m_flow)
        return;
    m_flow->stop = true;
    m_flow->answered.wakeAll();
    m_flow.reset();
}

void TextReader::Continue(ILoader* loader)
{
    if (!m_flow) {
        if (loader)
            loader->Release();
        return;
    }
    const QMutexLocker locked(&m_flow->lock);
    m_flow->loader = loader;
    m_flow->hasAnswer = true;
    m_flow->answered.wakeAll();
}

void TextReader::Consumed(qint64 bytes)
{
    if (m_flow)
        m_flow->queued -= bytes;
}

FilledLoader::~FilledLoader()
{
    if (m_loader)
        m_loader->Release();
}

void* FilledLoader::TakeDocument() { return std::exchange(m_loader, nullptr)->ConvertToDocument(); }

void TextReader::Take(const TextPiece& piece)
{
    if (piece.job == m_job)
        emit SigPiece(piece);
}

void TextReader::Flow::Send(const TextPiece& piece)
{
    queued += piece.utf8.size();
    const QMutexLocker locked(&link->lock);
    if (TextReader* to = link->reader)
        QMetaObject::invokeMethod(
            to, [to, piece] { to->Take(piece); }, Qt::QueuedConnection);
}

ILoader* TextReader::Flow::AwaitLoader()
{
    QMutexLocker locked(&lock);
    while (!hasAnswer && !stop)
        answered.wait(&lock, 100);
    return loader;
}

bool LooksBinary(const QString& text)
{
    qint64 controls = 0;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        // Tab, line ends, form feed and the escape of coloured logs are a text's own.
        controls +=
            (u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f' && u != 0x1b) || (u >= 0x7f && u < 0xa0);
    }
    return controls * 100 > text.size();
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
    piece.fileSize = file.size();
    QByteArray bytes = file.read(TextReader::kFirstPiece);
    if (!codec)
        codec = CodecForText(bytes, QTextCodec::codecForLocale());
    piece.codec = codec;
    std::unique_ptr<QTextDecoder> decoder(codec->makeDecoder());
    LineSplitter splitter;
    ILoader* loader = nullptr;
    qint64 read = 0;
    for (bool first = true; !flow->stop; first = false) {
        read += bytes.size();
        { // the decoded piece, twice the size of the bytes, goes before the wait below
            const QString text = decoder->toUnicode(bytes);
            if (first)
                piece.binary = LooksBinary(text);
            piece.utf8 = splitter.Feed(text).toUtf8();
        }
        piece.breaks = splitter.TakeBreaks();
        piece.last = bytes.isEmpty() || file.atEnd();
        piece.lineEstimate = piece.last ? splitter.FileLines() : Estimate(splitter.FileLines(), read, piece.fileSize);
        if (loader) {
            loader->AddData(piece.utf8.constData(), piece.utf8.size());
            piece.utf8.clear(); // into the document, not to the window
            if (piece.last)
                piece.whole = std::make_shared<FilledLoader>(std::exchange(loader, nullptr));
        }
        flow->Send(piece);
        if (piece.last)
            return;
        if (first && (loader = flow->AwaitLoader()))
            loader->AddData(piece.utf8.constData(), piece.utf8.size());
        piece.codec = nullptr;
        while (flow->queued > kMostQueued && !flow->stop)
            QThread::msleep(10);
        bytes = file.read(TextReader::kPiece); // empty at an early end: the file shrank or went away
    }
    if (loader)
        loader->Release();
}
