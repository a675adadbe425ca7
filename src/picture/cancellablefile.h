#pragma once

#include <QFile>

#include <atomic>

// A file whose reads fail once the preview has moved on: a decoder reading through it stops at
// its next read instead of finishing a picture nobody will see.
class CancellableFile : public QFile
{
public:
    // The reads go on while `generation` still holds `wanted`.
    CancellableFile(const QString& path, const std::atomic<int>& generation, int wanted);

    bool IsAbandoned() const { return m_generation.load(std::memory_order_relaxed) != m_wanted; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;

private:
    const std::atomic<int>& m_generation;
    const int m_wanted;
};
