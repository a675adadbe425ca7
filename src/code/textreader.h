#pragma once

#include "code/shownlines.h"

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QTextCodec;

// One piece of a text file, decoded and ready for the editor.
struct TextPiece {
    int job = 0;
    QByteArray utf8;           // with the breaks added for showing
    ShownLines breaks;         // added in this piece
    QTextCodec* codec = nullptr; // in the first piece
    qint64 fileSize = 0;
    qint64 lineEstimate = 0;   // the file's lines, exact in the last piece
    bool last = false;
    bool notRegular = false;   // a FIFO, a device, a folder: never opened
    QString error;             // the file could not be opened
};
Q_DECLARE_METATYPE(TextPiece)

// Reads a text file on a thread of its own, in large pieces, decoding there too: the window gets
// the first piece at once and the rest as fast as it takes them. A new Start() or Stop() leaves
// the old reading, which gives up at its next piece; a read that blocks holds only its own thread,
// which nothing waits for.
class TextReader : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kFirstPiece = 64 * 1024;
    static constexpr qint64 kPiece = 4 * 1024 * 1024;

    explicit TextReader(QObject* parent = nullptr);
    ~TextReader() override;

    // `codec` null: a byte-order mark, UTF-8 or a guess decides.
    void Start(const QString& path, QTextCodec* codec);
    void Stop();
    // The window says how much of what it was given it has shown; reading waits while much is queued.
    void Consumed(qint64 bytes);
    int Job() const { return m_job; }

signals:
    void SigPiece(const TextPiece& piece);

private:
    // What a reading shares with its reader; `receiver` is cleared under the lock when it is left.
    struct Flow {
        QMutex lock;
        TextReader* receiver = nullptr;
        std::atomic_bool stop{false};
        std::atomic<qint64> queued{0};
        void Send(const TextPiece& piece);
    };
    static void Read(const std::shared_ptr<Flow>& flow, int job, const QString& path, QTextCodec* codec);

    std::shared_ptr<Flow> m_flow;
    int m_job = 0;
};
