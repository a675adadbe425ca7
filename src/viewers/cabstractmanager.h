#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// A viewer's loader: reads the registry's current path and hands back one result per job.
class CAbstractManager : public QObject
{
    Q_OBJECT
public:
    explicit CAbstractManager(QObject* parent = nullptr) : QObject(parent) {}

    QString m_err; // why the last load failed; empty when it did not

    // Why a file whose read never came back (a share that stopped answering) is not shown.
    static QString TooLongToReadText() { return tr("The file took too long to read."); }

public slots:
    virtual void Perform() {}
    virtual void Stop() {}

signals:
    void SigPerformFinished(QVariant v = QVariant());

protected:
    // Ends the job with no result and why: the viewer shows the information panel.
    void Fail(const QString& err)
    {
        m_err = err;
        emit SigPerformFinished(QVariant());
    }
};
