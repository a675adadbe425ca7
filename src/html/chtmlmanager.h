#pragma once

#include "viewers/cabstractmanager.h"

#include <QString>

#include <memory>

class CPlayProcess;
class QTextDecoder;

// Turns the markdown file into an HTML page by running the converter in the plug-in folder.
// The result is the whole page as text, or an invalid value with m_err telling why.
class CHtmlManager : public CAbstractManager
{
    Q_OBJECT
public:
    explicit CHtmlManager(QString program = DefaultProgram(), QObject* parent = nullptr);
    ~CHtmlManager() override;

    static QString DefaultProgram();
    // What comes before the converter's output; "</body></html>" comes after it.
    static QString PageStart();
    QString Program() const { return m_program; }

public slots:
    void Perform() override;
    void Stop() override;

private:
    void ReadOutput();
    void OnFinishedNaturally();
    void OnFinishedByKilled();

    QString m_program;
    QString m_output;
    std::unique_ptr<QTextDecoder> m_decoder;
    CPlayProcess* m_process;
};
