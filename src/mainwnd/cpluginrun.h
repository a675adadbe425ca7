#pragma once

#include "cglobaldata/plugintable.h"

#include <QObject>
#include <QString>
#include <QStringList>

class CHelperRun;

// Runs the user's plug-in for a file: the plug-in gets the file and a name in our own folder,
// and writes its preview there as NAME.suffix, which is then shown in the file's place.
class CPluginRun : public QObject
{
    Q_OBJECT
public:
    explicit CPluginRun(QObject* parent = nullptr);

    // Null for a file no plug-in takes; a plug-in's own output is never converted again.
    const PluginRecord* RegisteredPluginFor(const QString& absolutePath, bool folder) const;
    // `command` is the program and its own arguments; the end is reported once.
    void Start(QStringList command, const QString& source);
    void Stop();
    // The file the user asked for: the plug-in's output stands for the file it was made from.
    QString SourceOf(const QString& path) const;

signals:
    void SigConverted(const QString& output, const QString& source);
    void SigFailed();

private:
    static QString OutputName();
    void OnFinished();

    CHelperRun* m_run;
    QString m_outputName; // of the run under way
    QString m_source;
    QString m_shownOutput; // removed when the next one is shown
    QString m_shownSource;
};
