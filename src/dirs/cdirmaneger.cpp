#include "dirs/cdirmaneger.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "dirs/comdata.h"
#include "dirs/listerdecode.h"
#include "dirs/listingparser.h"
#include "dirs/listingtree.h"
#include "platform/helperprograms.h"

#include <QDebug>
#include <QFileInfo>
#include <QLocale>
#include <QSharedPointer>
#include <QTextCodec>
#include <QtConcurrent>

#include <utility>

namespace {

// Listers print in the system's code page; Qt names that codec "System" only on some platforms.
QTextCodec* ListerCodec()
{
    QTextCodec* codec = QTextCodec::codecForName("System");
    return codec ? codec : QTextCodec::codecForLocale();
}

} // namespace

CDirManeger::CDirManeger(QObject* parent) : CAbstractManager(parent), m_run(new CHelperRun(this))
{
    RegisterDataboxMetaType();
    m_pool.setMaxThreadCount(1);
    connect(m_run, &CHelperRun::SigFinished, this, &CDirManeger::OnListed);
    connect(m_run, &CHelperRun::SigFailed, this, &CDirManeger::OnListerFailed);
}

// The build posts to this object: it may not outlive it.
CDirManeger::~CDirManeger()
{
    m_generation.fetchAndAddOrdered(1);
    m_build.waitForFinished();
}

void CDirManeger::Perform()
{
    m_generation.fetchAndAddOrdered(1);
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

void CDirManeger::Stop()
{
    m_generation.fetchAndAddOrdered(1);
    m_run->Stop();
}

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
    qDebug() << m_lister << "listed in" << m_clock.elapsed() << "ms";
    const int generation = m_generation.loadAcquire();
    const auto stopped = [this, generation] { return m_generation.loadAcquire() != generation; };
    const bool rar = m_unrarLister;
    QTextCodec* codec = ListerCodec();
    const QLocale locale = QLocale::system();
    m_build = QtConcurrent::run(&m_pool, [this, output, stopped, rar, codec, locale] {
        QElapsedTimer clock;
        clock.start();
        const QString text = DecodeListerOutput(output, codec, locale);
        Databox entries = rar ? ParseRarLine(text) : ParseZipLine(text);
        SortListing(entries);
        const qint64 parsed = clock.restart();
        // Freed with the last copy unless delivered: the call below is dropped if this object goes first.
        const QSharedPointer<ListingRows> rows(new ListingRows(BuildListingRows(entries, stopped)), [](ListingRows* r) {
            FreeListingRowsLater(*r);
            delete r;
        });
        qDebug() << "listed" << entries.size() << "entries: parsing and sorting" << parsed << "ms, tree built in"
                 << clock.elapsed() << "ms";
        if (stopped())
            return;
        QMetaObject::invokeMethod(this, [this, rows, stopped] {
            if (stopped())
                return;
            if (rows->isEmpty())
                Fail(CAbstractManager::tr("Unknown"));
            else
                emit SigPerformFinished(QVariant::fromValue(std::exchange(*rows, {})));
        });
    });
}
