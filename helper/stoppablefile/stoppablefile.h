#pragma once

#include <QFile>

#include <functional>

// A file whose reads fail once its owner says stop: a decoder or a document library reading
// through it (a picture the user has left, a huge PDF past its time) gives up at its next read.
class StoppableFile : public QFile
{
    Q_OBJECT
public:
    StoppableFile(const QString& name, std::function<bool()> stopped);

    bool IsStopped() const { return m_stopped && m_stopped(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;

private:
    std::function<bool()> m_stopped;
};
