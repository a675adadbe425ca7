#pragma once

#include <QFile>

#include <atomic>
#include <memory>

// A file whose reads fail once its stop flag is set: Poppler, reading a document through it,
// gives up a long scan of a huge or damaged file at its next read.
class StoppableFile : public QFile
{
    Q_OBJECT
public:
    StoppableFile(const QString& name, std::shared_ptr<std::atomic<bool>> stop);

protected:
    qint64 readData(char* data, qint64 maxSize) override;

private:
    std::shared_ptr<std::atomic<bool>> m_stop;
};
