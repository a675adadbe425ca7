#include "pdf/filesettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

FileSettings::FileSettings(const QString& documentPath)
    : m_settings(new QSettings(folder() + QLatin1Char('/') + fileNameFor(documentPath), QSettings::IniFormat))
{}

FileSettings::~FileSettings() = default;

QVariant FileSettings::value(const QString& key, const QVariant& defaultValue) const
{
    return m_settings->value(key, defaultValue);
}

void FileSettings::setValue(const QString& key, const QVariant& value) { m_settings->setValue(key, value); }

void FileSettings::remove(const QString& key) { m_settings->remove(key); }

void FileSettings::sync() { m_settings->sync(); }

QString FileSettings::folder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.") + QCoreApplication::applicationName();
    const QString path = base + QStringLiteral("/filesettings");
    if (!QFileInfo(path).isDir())
        QDir().mkpath(path);
    return path;
}

QString FileSettings::fileNameFor(const QString& documentPath)
{
    QString name = documentPath;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return name + QStringLiteral(".ini");
}

void FileSettings::trim(qint64 limitBytes)
{
    const QString path = folder();
    QFileInfoList files =
        QDir(path).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Time); // newest first
    qint64 total = QFileInfo(path).size();
    for (const QFileInfo& file : files)
        total += file.size();
    while (total > limitBytes && !files.isEmpty()) {
        const QFileInfo oldest = files.takeLast();
        if (QFile::remove(oldest.absoluteFilePath()))
            total -= oldest.size();
    }
}
