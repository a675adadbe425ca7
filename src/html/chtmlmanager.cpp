#include "html/chtmlmanager.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "platform/helperprograms.h"

#include <QDebug>
#include <QFileInfo>
#include <QTextCodec>

CHtmlManager::CHtmlManager(QString program, QObject* parent)
    : CAbstractManager(parent), m_program(std::move(program)), m_run(new CHelperRun(this))
{
    connect(m_run, &CHelperRun::SigFinished, this, &CHtmlManager::OnConverted);
    connect(m_run, &CHelperRun::SigFailed, this, &CHtmlManager::OnConverterFailed);
}

QString CHtmlManager::DefaultProgram() { return HelperProgramPath(QStringLiteral("md")); }

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
        Fail(m_program + tr(" can not be found."));
        return;
    }
    m_run->Start(m_program, {data.Path()});
}

// The viewer waits for an answer even from a converter stopped half-way.
void CHtmlManager::Stop()
{
    if (!m_run->IsRunning())
        return;
    m_run->Stop();
    emit SigPerformFinished(QVariant());
}

void CHtmlManager::OnConverted(const QByteArray& output)
{
    const QString body = QTextCodec::codecForName("UTF-8")->toUnicode(output);
    emit SigPerformFinished(PageStart() + body + QStringLiteral("</body></html>"));
}

// Half a page from a converter that crashed or gave up is not the document.
void CHtmlManager::OnConverterFailed(CHelperRun::Failure failure, const QString& reason)
{
    qDebug() << m_program << reason;
    if (failure == CHelperRun::Failure::NotStarted)
        Fail(tr("Can not run ") + QFileInfo(m_program).fileName() + QStringLiteral("."));
    else
        Fail(tr("Parse file error."));
}
