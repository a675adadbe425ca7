#include "dirs/cdirmaneger.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "cplayprocess/cplayprocess.h"
#include "dirs/comdata.h"
#include "dirs/listerdecode.h"
#include "dirs/listingparser.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QLocale>
#include <QTextCodec>

CDirManeger::CDirManeger(QObject* parent) : CAbstractManager(parent), m_process(new CPlayProcess(this))
{
    RegisterDataboxMetaType();
    connect(m_process, &QProcess::readyReadStandardOutput, this, &CDirManeger::ReadOutput);
    connect(m_process, &CPlayProcess::SigFinishedNaturally, this, &CDirManeger::OnFinishedNaturally);
}

// The runner kills a lister still running when it goes; nothing may reach this object then.
CDirManeger::~CDirManeger() { m_process->disconnect(this); }

// Helper programs carry no suffix on this platform.
QString CDirManeger::ProgramFolder() { return QCoreApplication::applicationDirPath() + QStringLiteral("/plugins/"); }

void CDirManeger::Perform()
{
    const CGlobalData& data = CGlobalData::Instance();
    // Our libarchive lister reads RAR and the members of compressed tarballs.
    m_unrarLister = data.SubType() == ST_RAR || IsCompressedTarball(data.Path());
    const QString name = m_unrarLister ? QStringLiteral("unrar") : QStringLiteral("7za");
    const QString program = ProgramFolder() + name;
    if (!QFileInfo::exists(program)) {
        Fail(name + tr(" can not be found."));
        return;
    }
    m_output.clear();
    const QStringList arguments{m_unrarLister ? QStringLiteral("v") : QStringLiteral("l"), data.Path()};
    m_clock.start();
    if (!m_process->Start(program, arguments)) {
        Fail(tr("Can not run %1.").arg(name));
        return;
    }
    // A lister that asks for a password must find no one there, not wait for ever.
    m_process->closeWriteChannel();
}

void CDirManeger::Stop()
{
    m_output.clear();
    m_process->QuitProcess();
    m_output.clear(); // what the killed lister printed while it was ending
}

void CDirManeger::ReadOutput()
{
    m_output += m_process->readAllStandardOutput();
}

void CDirManeger::OnFinishedNaturally()
{
    ReadOutput();
    const qint64 listerMs = m_clock.restart();
    // Listers print in the system's code page; Qt names that codec "System" only on some platforms.
    QTextCodec* codec = QTextCodec::codecForName("System");
    const QString text = DecodeListerOutput(m_output, codec ? codec : QTextCodec::codecForLocale(), QLocale::system());
    m_output.clear();
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
