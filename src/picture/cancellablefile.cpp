#include "picture/cancellablefile.h"

CancellableFile::CancellableFile(const QString& path, const std::atomic<int>& generation, int wanted)
    : QFile(path), m_generation(generation), m_wanted(wanted)
{}

qint64 CancellableFile::readData(char* data, qint64 maxSize)
{
    if (IsAbandoned()) {
        setErrorString(QStringLiteral("abandoned"));
        return -1;
    }
    return QFile::readData(data, maxSize);
}
