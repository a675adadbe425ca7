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
#include <QPointer>
#include <QTextCodec>
#include <QtConcurrent>

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
    qRegisterMetaType<ListingTree>("ListingTree");
    m_pool.setMaxThreadCount(1);
    connect(m_run, &CHelperRun::SigFinished, this, &CDirManeger::OnListed);
    connect(m_run, &CHelperRun::SigFailed, this, &CDirManeger::OnListerFailed);
}

// The job posts back to this object: it may not outlive it.
CDirManeger::~CDirManeger()
{
    m_generation.fetchAndAddOrdered(1);
    m_job.waitForFinished();
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
    qDebug() << m_lister << "lister" << m_clock.restart() << "ms";
    const int generation = m_generation.loadAcquire();
    const bool rar = m_unrarLister;
    QTextCodec* codec = ListerCodec();
    const QLocale locale = QLocale::system();
    m_job = QtConcurrent::run(&m_pool, [this, output, generation, rar, codec, locale] {
        const auto stopped = [this, generation] { return m_generation.loadAcquire() != generation; };
        if (stopped())
            return;
        QElapsedTimer clock;
        clock.start();
        Databox entries = rar ? ParseRarLine(DecodeListerOutput(output, codec, locale))
                              : ParseZipLine(DecodeListerOutput(output, codec, locale));
        if (stopped())
            return;
        SortListing(entries);
        const qint64 parsed = clock.restart();
        const ListingTree tree = BuildListingTree(entries, stopped);
        qDebug() << "listed" << entries.size() << "entries: parsing and sorting" << parsed << "ms, tree built in"
                 << clock.elapsed() << "ms";
        QMetaObject::invokeMethod(this, [this, tree, generation] { OnBuilt(tree, generation); }, Qt::QueuedConnection);
    });
}

void CDirManeger::OnBuilt(const ListingTree& tree, int generation)
{
    if (generation != m_generation.loadAcquire())
        return;
    if (tree.nodes.isEmpty()) {
        Fail(CAbstractManager::tr("Unknown"));
        return;
    }
    emit SigPerformFinished(QVariant::fromValue(tree));
}
