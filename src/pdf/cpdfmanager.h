#pragma once

#include "viewers/cabstractmanager.h"

#include <QHash>
#include <QString>
#include <QTimer>

class CPlayProcess;

// Converts an office document to a PDF with the converter in the plug-in folder. A document
// converted before, unchanged since, is shown again from its PDF without converting.
class CPdfManager : public CAbstractManager
{
    Q_OBJECT
public:
    explicit CPdfManager(QString program = DefaultProgram(), QObject* parent = nullptr);
    ~CPdfManager() override;

    static QString DefaultProgram();
    // A converter that runs this long is killed, as one that hangs on a document would be.
    void SetTimeLimit(int milliseconds) { m_limit.setInterval(milliseconds); }
    QString OutputPath() const { return m_outputPath; }

public slots:
    void Perform() override;
    void Stop() override;
    void SlotProcessFinished(int exitCode);

signals:
    void SigUpdatePDFView(QString new_path);

private:
    static QString DocumentKey(const QString& path);
    static QString OutputPathFor(const QString& input);
    bool ShowConverted(const QString& key);

    QString m_program;
    CPlayProcess* m_process;
    QString m_outputPath;
    QString m_key; // of the document being converted
    // Which document each converted PDF holds, and where a document's PDF is: both must agree,
    // since two documents of one base name share an output name.
    QHash<QString, QString> m_pdfOf;
    QHash<QString, QString> m_documentIn;
    QTimer m_limit;
    bool m_stopping = false;
};
