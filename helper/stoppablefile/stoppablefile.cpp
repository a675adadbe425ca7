#include "stoppablefile/stoppablefile.h"

StoppableFile::StoppableFile(const QString& name, std::function<bool()> stopped)
    : QFile(name), m_stopped(std::move(stopped))
{}

qint64 StoppableFile::readData(char* data, qint64 maxSize)
{
    if (IsStopped()) {
        setErrorString(QStringLiteral("stopped"));
        return -1;
    }
    return QFile::readData(data, maxSize);
}
