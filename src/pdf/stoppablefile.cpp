#include "pdf/stoppablefile.h"

StoppableFile::StoppableFile(const QString& name, std::shared_ptr<std::atomic<bool>> stop)
    : QFile(name), m_stop(std::move(stop))
{}

qint64 StoppableFile::readData(char* data, qint64 maxSize)
{
    if (m_stop && m_stop->load())
        return -1;
    return QFile::readData(data, maxSize);
}
