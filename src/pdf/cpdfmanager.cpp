#include "pdf/cpdfmanager.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "core/tempfolder.h"
#include "platform/helperprograms.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

CPdfManager::CPdfManager(QString program, QObject* parent)
    : CAbstractManager(parent), m_program(std::move(program)), m_run(new CHelperRun(this))
{
    connect(m_run, &CHelperRun::SigFinished, this, &CPdfManager::OnConverted);
    connect(m_run, &CHelperRun::SigFailed, this, &CPdfManager::OnConverterFailed);
    m_run->SetOutputLimit(0);
    // LibreOffice gives up on a document by itself well within this.
    m_run->SetTimeLimit(180000);
}

QString CPdfManager::DefaultProgram() { return HelperProgramPath(QStringLiteral("1syt")); }

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
    m_run->Start(m_program, {input, m_outputPath});
}

// A converter stopped because the user moved on has nothing to report.
void CPdfManager::Stop() { m_run->Stop(); }

// A converter that claims success but wrote nothing failed all the same.
void CPdfManager::OnConverted()
{
    if (QFileInfo(m_outputPath).size() <= 0) {
        qDebug() << __FILE__ << __LINE__ << m_program << "wrote no PDF";
        return Fail(tr("Offices convert failed."));
    }
    m_pdfOf.insert(m_key, m_outputPath);
    m_documentIn.insert(m_outputPath, m_key);
    emit SigUpdatePDFView(m_outputPath);
    emit SigPerformFinished(QVariant());
}

void CPdfManager::OnConverterFailed(CHelperRun::Failure failure, const QString& reason)
{
    qDebug() << __FILE__ << __LINE__ << m_program << reason;
    if (failure == CHelperRun::Failure::NotStarted)
        return Fail(tr("Can not run %1.").arg(m_program));
    Fail(tr("Offices convert failed."));
}
