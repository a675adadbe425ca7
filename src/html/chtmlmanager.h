#pragma once

#include "chelperrun/chelperrun.h"
#include "viewers/cabstractmanager.h"

#include <QString>

// Turns the markdown file into an HTML page by running the converter in the plug-in folder.
// The result is the whole page as text, or an invalid value with m_err telling why. A long
// document's first blocks come before, as a page of their own that the whole one continues.
class CHtmlManager : public CAbstractManager
{
    Q_OBJECT
public:
    explicit CHtmlManager(QString program = DefaultProgram(), QObject* parent = nullptr);

    static QString DefaultProgram();
    // What comes before the converter's output; "</body></html>" comes after it.
    static QString PageStart();
    QString Program() const { return m_program; }

signals:
    void SigFirstPart(const QString& page);

public slots:
    void Perform() override;
    void Stop() override;

private:
    void OnOutput();
    void OnConverted(const QByteArray& output);
    void OnConverterFailed(CHelperRun::Failure failure, const QString& reason);

    QString m_program;
    CHelperRun* m_run;
    bool m_firstPartLookedFor = false;
};
