#include "pdf/cpdfmanager.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "core/tempfolder.h"
#include "cplayprocess/cplayprocess.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

CPdfManager::CPdfManager(QString program, QObject* parent)
    : CAbstractManager(parent), m_program(std::move(program)), m_process(new CPlayProcess(this))
{
    connect(m_process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
            [this](int exitCode) { SlotProcessFinished(exitCode); });
    m_process->setStandardOutputFile(QProcess::nullDevice());
    // LibreOffice gives up on a document by itself well within this.
    m_limit.setInterval(180000);
    m_limit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, m_process, &CPlayProcess::QuitProcess);
}

CPdfManager::~CPdfManager() { m_process->disconnect(this); }

// Helper programs carry no suffix on this platform.
QString CPdfManager::DefaultProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/plugins/1syt");
}

QString CPdfManager::DocumentKey(const QString& path)
{
    const QFileInfo info(path);
    return info.absoluteFilePath() + QLatin1Char('\n') + QString::number(info.size()) + QLatin1Char('\n') +
           QString::number(info.lastModified().toMSecsSinceEpoch());
}

QString CPdfManager::OutputPathFor(const QString& input)
{
    const QString folder = TempFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    QString output = folder + QFileInfo(input).baseName() + QStringLiteral(".pdf");
    if (QFile::exists(output) && !QFile::remove(output)) {
        output = folder + QString::number(QRandomGenerator::global()->generate()) + QStringLiteral(".pdf");
    }
    return QDir::toNativeSeparators(output);
}

bool CPdfManager::ShowConverted(const QString& key)
{
    const QString pdf = m_pdfOf.value(key);
    if (pdf.isEmpty() || m_documentIn.value(pdf) != key || QFileInfo(pdf).size() <= 0)
        return false;
    m_outputPath = pdf;
    emit SigUpdatePDFView(pdf);
    emit SigPerformFinished(QVariant());
    return true;
}

void CPdfManager::Perform()
{
    const CGlobalData& data = CGlobalData::Instance();
    if (data.SubType() != ST_OFFICE)
        return;
    Stop();
    const QString input = QDir::toNativeSeparators(data.Path());
    m_key = DocumentKey(input);
    if (ShowConverted(m_key))
        return;
    if (!QFileInfo::exists(m_program))
        return Fail(tr("Can not find %1 file").arg(QFileInfo(m_program).fileName()));
    m_outputPath = OutputPathFor(input);
    if (m_outputPath.isEmpty())
        return Fail(tr("Can not create a temporary folder."));
    m_documentIn.remove(m_outputPath);
    if (!m_process->Start(m_program, {input, m_outputPath}))
        return Fail(tr("Can not run %1.").arg(m_program));
    m_limit.start();
}

void CPdfManager::Stop()
{
    m_limit.stop();
    // A converter stopped because the user moved on has nothing to report.
    m_stopping = true;
    m_process->QuitProcess();
    m_stopping = false;
}

void CPdfManager::SlotProcessFinished(int exitCode)
{
    m_limit.stop();
    if (m_stopping)
        return;
    // A converter that claims success but wrote nothing failed all the same.
    if (exitCode != 0 || m_process->WasKilled() || m_process->exitStatus() != QProcess::NormalExit ||
        QFileInfo(m_outputPath).size() <= 0) {
        qDebug() << __FILE__ << __LINE__ << m_program << "exit" << exitCode << "killed" << m_process->WasKilled()
                 << m_process->readAllStandardError().left(1000);
        return Fail(tr("Offices convert failed."));
    }
    m_pdfOf.insert(m_key, m_outputPath);
    m_documentIn.insert(m_outputPath, m_key);
    emit SigUpdatePDFView(m_outputPath);
    emit SigPerformFinished(QVariant());
}
