#pragma once

#include <QFileIconProvider>
#include <QHash>
#include <QMutex>

// The folder views' icons and type names, looked up once a suffix. The file system model asks
// for every file on the window's thread, and the desktop's answer costs a stat and a look into
// the MIME database each time: most of a 100 000-file folder's time before this.
class CSuffixIconProvider : public QFileIconProvider
{
public:
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    struct Look {
        QIcon icon;
        QString type;
    };
    Look LookFor(const QFileInfo& info) const;
    void RememberFileLook(bool file, const QString& key, const Look& look) const;

    mutable QMutex m_mutex;
    mutable QHash<QString, Look> m_looks;
    mutable QString m_lastDotSuffix; // of the last file looked up, with its dot
    mutable Look m_lastFileLook;
};
