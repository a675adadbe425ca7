#include "dirs/cdirmaneger.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "dirs/comdata.h"
#include "dirs/listerdecode.h"
#include "dirs/listingparser.h"
#include "platform/helperprograms.h"

#include <QDebug>
#include <QFileInfo>
#include <QLocale>
#include <QTextCodec>

CDirManeger::CDirManeger(QObject* parent) : CAbstractManager(parent), m_run(new CHelperRun(this))
{
    RegisterDataboxMetaType();
    connect(m_run, &CHelperRun::SigFinished, this, &CDirManeger::OnListed);
    connect(m_run, &CHelperRun::SigFailed, this, &CDirManeger::OnListerFailed);
}

void CDirManeger::Perform()
{
    const CGlobalData& data = CGlobalData::Instance();
    // Our libarchive lister reads RAR and the members of compressed tarballs.
    m_unrarLister = data.SubType() == ST_RAR || IsCompressedTarball(data.Path());
    const QString program = HelperProgramPath(m_unrarLister ? QStringLiteral("unrar") : QStringLiteral("7za"));
    m_lister = QFileInfo(program).fileName();
    if (!QFileInfo::exists(program)) {
        Fail(m_lister + tr(" can not be found."));
        return;
    }
    const QStringList arguments{m_unrarLister ? QStringLiteral("v") : QStringLiteral("l"), data.Path()};
    m_clock.start();
    m_run->Start(program, arguments);
}

void CDirManeger::Stop() { m_run->Stop(); }

// A lister that warns (7-Zip's exit code 1) or breaks off still printed what it could list.
void CDirManeger::OnListerFailed(CHelperRun::Failure failure, const QString& reason, const QByteArray& output)
{
    qDebug() << m_lister << reason;
    if (failure == CHelperRun::Failure::NotStarted)
        Fail(tr("Can not run %1.").arg(m_lister));
    else
        OnListed(output);
}

void CDirManeger::OnListed(const QByteArray& output)
{
    const qint64 listerMs = m_clock.restart();
    // Listers print in the system's code page; Qt names that codec "System" only on some platforms.
    QTextCodec* codec = QTextCodec::codecForName("System");
    const QString text = DecodeListerOutput(output, codec ? codec : QTextCodec::codecForLocale(), QLocale::system());
    Databox entries = m_unrarLister ? ParseRarLine(text) : ParseZipLine(text);
    SortListing(entries);
    qDebug() << "listed" << entries.size() << "entries: lister" << listerMs << "ms, parsing and sorting"
             << m_clock.elapsed() << "ms";
    if (entries.isEmpty()) {
        Fail(CAbstractManager::tr("Unknown"));
        return;
    }
    emit SigPerformFinished(QVariant::fromValue(entries));
}
