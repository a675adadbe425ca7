#pragma once

#include <QScopedPointer>
#include <QString>
#include <QVariant>

class QSettings;

// Per-document INI settings, one file per document in the cache folder.
class FileSettings
{
public:
    explicit FileSettings(const QString& documentPath);
    ~FileSettings();
    FileSettings(const FileSettings&) = delete;
    FileSettings& operator=(const FileSettings&) = delete;

    QVariant value(const QString& key, const QVariant& defaultValue = QVariant()) const;
    void setValue(const QString& key, const QVariant& value);
    void remove(const QString& key);
    void sync();

    static QString folder();                                 // created when missing
    static QString fileNameFor(const QString& documentPath); // "/a/b.pdf" -> "_a_b.pdf.ini"
    static void trim(qint64 limitBytes);                     // oldest files go first

private:
    QScopedPointer<QSettings> m_settings;
};
