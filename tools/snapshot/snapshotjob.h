#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class CMainWnd;

// Loads one file in a real preview window and writes the window's picture once the viewer
// has loaded it (or has fallen back to the information panel).
class SnapshotJob : public QObject
{
    Q_OBJECT
public:
    SnapshotJob(CMainWnd& wnd, QString file, QString out, int timeoutMs);
    void Start();

signals:
    void Done(int exitCode);

private:
    void OnLoaded();
    void Save();
    void Fail(const QString& message);

    CMainWnd& m_wnd;
    QString m_file;
    QString m_out;
    int m_timeoutMs;
    qint64 m_loadMs = -1;
    bool m_finished = false;
    QElapsedTimer m_clock;
};
