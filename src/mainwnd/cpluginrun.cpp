#include "mainwnd/cpluginrun.h"

#include "cglobaldata/cglobaldata.h"
#include "chelperrun/chelperrun.h"
#include "core/tempfolder.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

CPluginRun::CPluginRun(QObject* parent) : QObject(parent), m_run(new CHelperRun(this))
{
    m_run->SetOutputLimit(0);
    connect(m_run, &CHelperRun::SigFinished, this, &CPluginRun::OnFinished);
    connect(m_run, &CHelperRun::SigFailed, this, [this](CHelperRun::Failure, const QString& reason) {
        qDebug() << "plug-in" << m_source << reason;
        emit SigFailed();
    });
}

const PluginRecord* CPluginRun::RegisteredPluginFor(const QString& absolutePath, bool folder) const
{
    if (folder || absolutePath == m_shownOutput)
        return nullptr;
    return PluginFor(CGlobalData::Instance().Plugins(), QFileInfo(absolutePath).suffix());
}

// A unique name in our own folder; the plug-in writes NAME.suffix, so the empty file itself goes.
QString CPluginRun::OutputName()
{
    if (TempFolder().isEmpty())
        return QString();
    QTemporaryFile name(TempFolder() + QStringLiteral("plugin-XXXXXX"));
    return name.open() ? name.fileName() : QString();
}

void CPluginRun::Start(QStringList command, const QString& source)
{
    m_run->Stop();
    m_outputName = OutputName();
    if (command.isEmpty() || m_outputName.isEmpty()) {
        emit SigFailed();
        return;
    }
    m_source = source;
    const QString program = command.takeFirst();
    m_run->Start(program, command << source << m_outputName);
}

void CPluginRun::Stop() { m_run->Stop(); }

void CPluginRun::OnFinished()
{
    const QFileInfo base(m_outputName);
    const QDir folder = base.absoluteDir();
    const QStringList pattern{base.fileName() + QStringLiteral(".*")};
    const QFileInfoList outputs = folder.exists() ? folder.entryInfoList(pattern, QDir::Files) : QFileInfoList();
    if (outputs.isEmpty()) {
        emit SigFailed();
        return;
    }
    if (!m_shownOutput.isEmpty())
        QFile::remove(m_shownOutput);
    m_shownOutput = outputs.first().absoluteFilePath();
    m_shownSource = m_source;
    emit SigConverted(m_shownOutput, m_shownSource);
}

QString CPluginRun::SourceOf(const QString& path) const
{
    return !path.isEmpty() && path == m_shownOutput ? m_shownSource : path;
}
