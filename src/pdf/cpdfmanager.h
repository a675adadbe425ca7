#pragma once

#include "chelperrun/chelperrun.h"
#include "viewers/cabstractmanager.h"

#include <QHash>
#include <QString>

// Converts an office document to a PDF with the converter in the plug-in folder. A document
// converted before, unchanged since, is shown again from its PDF without converting.
class CPdfManager : public CAbstractManager
{
    Q_OBJECT
public:
    explicit CPdfManager(QString program = DefaultProgram(), QObject* parent = nullptr);

    static QString DefaultProgram();
    // A converter that runs this long is killed, as one that hangs on a document would be.
    void SetTimeLimit(int milliseconds) { m_run->SetTimeLimit(milliseconds); }
    QString OutputPath() const { return m_outputPath; }

public slots:
    void Perform() override;
    void Stop() override;

signals:
    void SigUpdatePDFView(QString new_path);

private:
    static QString DocumentKey(const QString& path);
    static QString OutputPathFor(const QString& input);
    bool ShowConverted(const QString& key);
    void OnConverted();
    void OnConverterFailed(CHelperRun::Failure failure, const QString& reason);

    QString m_program;
    CHelperRun* m_run;
    QString m_outputPath;
    QString m_key; // of the document being converted
    // Which document each converted PDF holds, and where a document's PDF is: both must agree,
    // since two documents of one base name share an output name.
    QHash<QString, QString> m_pdfOf;
    QHash<QString, QString> m_documentIn;
};
