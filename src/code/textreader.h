#pragma once

#include "code/shownlines.h"

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QWaitCondition>

#include <atomic>
#include <memory>

class ILoader;
class QTextCodec;

// The whole text, filled on the reading thread, until an editor takes it as its document. Freed
// with the last copy of its piece when no editor does: a reading left, a window gone.
class FilledLoader
{
public:
    explicit FilledLoader(ILoader* loader) : m_loader(loader) {}
    ~FilledLoader();
    FilledLoader(const FilledLoader&) = delete;
    FilledLoader& operator=(const FilledLoader&) = delete;
    void* TakeDocument(); // once

private:
    ILoader* m_loader;
};

// One piece of a text file, decoded and ready for the editor.
struct TextPiece {
    int job = 0;
    QByteArray utf8;             // with the breaks added for showing
    ShownLines breaks;           // added in this piece
    QTextCodec* codec = nullptr; // in the first piece
    qint64 fileSize = 0;
    qint64 lineEstimate = 0;             // the file's lines, exact in the last piece
    std::shared_ptr<FilledLoader> whole; // in the last piece, when a loader was given
    bool last = false;
    bool binary = false;     // in the first piece: see LooksBinary()
    bool notRegular = false; // a FIFO, a device, a folder: never opened
    QString error;           // the file could not be opened
};
Q_DECLARE_METATYPE(TextPiece)

// Whether a text holds the control characters of a binary file, more than one in a hundred. The
// editor draws each as a box measured on its own, and wrapping a screen of such rows took 200 ms.
bool LooksBinary(const QString& text);

// Reads a text file on a thread of its own, in large pieces, decoding there too. The window gets
// the first piece at once; then either the rest piece by piece, or, given an editor's document
// loader, the whole text built on that thread as one document. A new Start() or Stop() leaves the
// old reading, which gives up at its next piece; a read that blocks holds only its own thread,
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
    // After the first piece, how the rest comes: into `loader` (null: piece by piece). The reading
    // waits for this answer.
    void Continue(ILoader* loader);
    // The window says how much of what it was given it has shown; reading waits while much is queued.
    void Consumed(qint64 bytes);
    int Job() const { return m_job; }

signals:
    void SigPiece(const TextPiece& piece);

private:
    // The reader, for as long as it lives; shared with every reading.
    struct Link {
        QMutex lock;
        TextReader* reader = nullptr;
    };
    struct Flow {
        std::shared_ptr<Link> link;
        std::atomic_bool stop{false};
        std::atomic<qint64> queued{0};
        QMutex lock;
        QWaitCondition answered;
        bool hasAnswer = false;
        ILoader* loader = nullptr;
        void Send(const TextPiece& piece);
        ILoader* AwaitLoader();
    };
    static void Read(const std::shared_ptr<Flow>& flow, int job, const QString& path, QTextCodec* codec);
    void Take(const TextPiece& piece);

    std::shared_ptr<Link> m_link;
    std::shared_ptr<Flow> m_flow;
    int m_job = 0;
};
