#include "html/chtmlmanager.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "md/mdmarkers.h"
#include "platform/helperprograms.h"

#include <QDebug>
#include <QFileInfo>
#include <QTextCodec>

namespace {

const QByteArray kFirstMarker = mdconvert::kFirstMarker;
const QByteArray kThenMarker = mdconvert::kThenMarker;
const QByteArray kWholeMarker = mdconvert::kWholeMarker;

QString PageOf(const QByteArray& body)
{
    return CHtmlManager::PageStart() + QTextCodec::codecForName("UTF-8")->toUnicode(body) +
           QStringLiteral("</body></html>");
}

} // namespace

CHtmlManager::CHtmlManager(QString program, QObject* parent)
    : CAbstractManager(parent), m_program(std::move(program)), m_run(new CHelperRun(this))
{
    connect(m_run, &CHelperRun::SigOutput, this, &CHtmlManager::OnOutput);
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
    m_firstPartLookedFor = false;
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

void CHtmlManager::OnOutput()
{
    const QByteArray& output = m_run->OutputSoFar();
    if (m_firstPartLookedFor || (output.size() < kFirstMarker.size() && kFirstMarker.startsWith(output)))
        return;
    const int then = output.indexOf(kThenMarker);
    if (output.startsWith(kFirstMarker) && then < 0)
        return;
    m_firstPartLookedFor = true;
    if (output.startsWith(kFirstMarker))
        emit SigFirstPart(PageOf(output.mid(kFirstMarker.size(), then - kFirstMarker.size())));
}

void CHtmlManager::OnConverted(const QByteArray& output)
{
    if (!output.startsWith(kFirstMarker)) {
        emit SigPerformFinished(PageOf(output));
        return;
    }
    const int then = output.indexOf(kThenMarker);
    if (then < 0) {
        Fail(tr("Parse file error."));
        return;
    }
    const QByteArray rest = output.mid(then + kThenMarker.size());
    if (rest.startsWith(kWholeMarker))
        emit SigPerformFinished(PageOf(rest.mid(kWholeMarker.size())));
    else
        emit SigPerformFinished(PageOf(output.mid(kFirstMarker.size(), then - kFirstMarker.size()) + rest));
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
