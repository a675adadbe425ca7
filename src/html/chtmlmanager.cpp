#include "html/chtmlmanager.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "cplayprocess/cplayprocess.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QTextCodec>
#include <QTextDecoder>

CHtmlManager::CHtmlManager(QString program, QObject* parent)
    : CAbstractManager(parent), m_program(std::move(program)), m_process(new CPlayProcess(this))
{
    connect(m_process, &QProcess::readyReadStandardOutput, this, &CHtmlManager::ReadOutput);
    connect(m_process, &CPlayProcess::SigFinishedNaturally, this, &CHtmlManager::OnFinishedNaturally);
    connect(m_process, &CPlayProcess::SigFinishedByKilled, this, &CHtmlManager::OnFinishedByKilled);
}

// The runner kills a converter still running when it goes; nothing may reach this object then.
CHtmlManager::~CHtmlManager() { m_process->disconnect(this); }

// Helper programs carry no suffix on this platform.
QString CHtmlManager::DefaultProgram() { return QCoreApplication::applicationDirPath() + QStringLiteral("/plugins/md"); }

QString CHtmlManager::PageStart()
{
    return QStringLiteral("<!DOCTYPE html><html  lang=\"en\"><head><meta charset=\"UTF-8\"><link type=\"text/css\" "
                          "rel=\"stylesheet\" href=\"qrc:///html/css/bootstrap.css\"/></head><body>");
}

void CHtmlManager::Perform()
{
    const CGlobalData& data = CGlobalData::Instance();
    if (data.SubType() != ST_MARKDOWN)
        return;
    if (!QFileInfo::exists(m_program)) {
        m_err = m_program + tr(" can not be found.");
        emit SigPerformFinished(QVariant());
        return;
    }
    m_output.clear();
    // One decoder for the whole run: a character may be cut between two pieces of output.
    m_decoder.reset(QTextCodec::codecForName("UTF-8")->makeDecoder());
    if (!m_process->Start(m_program, {data.Path()})) {
        m_err = tr("Can not run ") + QFileInfo(m_program).fileName() + QStringLiteral(".");
        emit SigPerformFinished(QVariant());
    }
}

void CHtmlManager::Stop()
{
    m_output.clear();
    m_process->QuitProcess();
}

void CHtmlManager::ReadOutput()
{
    const QByteArray piece = m_process->readAllStandardOutput();
    if (!piece.isEmpty() && m_decoder)
        m_output += m_decoder->toUnicode(piece);
}

void CHtmlManager::OnFinishedNaturally()
{
    ReadOutput();
    // Half a page from a converter that crashed or gave up is not the document.
    if (m_process->exitStatus() != QProcess::NormalExit || m_process->exitCode() != 0) {
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << m_program << m_process->exitStatus()
                 << m_process->exitCode() << m_process->readAllStandardError().left(1000);
        m_output.clear();
        m_err = tr("Parse file error.");
        emit SigPerformFinished(QVariant());
        return;
    }
    m_output = PageStart() + m_output + QStringLiteral("</body></html>");
    emit SigPerformFinished(QVariant(m_output));
}

void CHtmlManager::OnFinishedByKilled()
{
    m_output.clear();
    emit SigPerformFinished(QVariant());
}
