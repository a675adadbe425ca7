#pragma once

#include "core/postbox.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>

// Tells a file's kind by its content on a thread of its own, within a time bound: on a file system
// that stopped answering (a network share gone away) the read never returns, and the window must
// not wait for it. One file at a time; a newer Start() or Cancel() drops the older result.
class ContentSniffer : public QObject
{
    Q_OBJECT
public:
    static constexpr int LimitMs = 20000;

    explicit ContentSniffer(QObject* parent = nullptr);
    ~ContentSniffer() override;

    void Start(const QString& path);
    void Cancel();

signals:
    // The MIME type and its ancestors, nearest first.
    void SigSniffed(QString path, QStringList chain);
    void SigTimedOut(QString path);

private:
    void Finish(int job, const QString& path, const QStringList& chain);

    std::shared_ptr<PostBox> m_box;
    QTimer m_limit;
    QString m_path;
    int m_job = 0;
};
