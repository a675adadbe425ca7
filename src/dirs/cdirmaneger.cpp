#include "dirs/cdirmaneger.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "dirs/comdata.h"
#include "dirs/listerdecode.h"
#include "dirs/listingparser.h"
#include "dirs/cstandarditemmodel.h"
#include "dirs/listingtree.h"
#include "platform/helperprograms.h"

#include <QDebug>
#include <QFileInfo>
#include <QLocale>
#include <QProcessEnvironment>
#include <QTextCodec>
#include <QtConcurrent>

#include <memory>

namespace {

// Listers print in the system's code page; Qt names that codec "System" only on some platforms.
QTextCodec* ListerCodec()
{
    QTextCodec* codec = QTextCodec::codecForName("System");
    return codec ? codec : QTextCodec::codecForLocale();
}

// With TZ unset, the C library reads the zone file again for every time a lister prints: 7za
// took 1.6 s instead of 0.3 s to list 100 000 entries. The same file, named once, is read once.
QProcessEnvironment ListerEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("TZ")))
        environment.insert(QStringLiteral("TZ"), QStringLiteral(":/etc/localtime"));
    return environment;
}

} // namespace

CDirManeger::CDirManeger(QObject* parent) : CAbstractManager(parent), m_run(new CHelperRun(this))
{
    RegisterDataboxMetaType();
    m_pool.setMaxThreadCount(1);
    m_disposer.start(QThread::LowPriority);
    m_run->SetTimeLimit(ListLimitMs);
    connect(m_run, &CHelperRun::SigFinished, this, &CDirManeger::OnListed);
    connect(m_run, &CHelperRun::SigFailed, this, &CDirManeger::OnListerFailed);
}

// The build posts to this object: it may not outlive it.
CDirManeger::~CDirManeger()
{
    m_generation.fetchAndAddOrdered(1);
    m_build.waitForFinished();
    m_disposer.quit();
    m_disposer.wait();
}

void CDirManeger::Dispose(QStandardItemModel* model)
{
    model->setParent(nullptr);
    model->moveToThread(&m_disposer);
    model->deleteLater();
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
    m_run->Start(program, arguments, ListerEnvironment());
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
    else if (failure == CHelperRun::Failure::TimedOut)
        Fail(tr("The archive took too long to list."));
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
    QThread* window = thread();
    m_build = QtConcurrent::run(&m_pool, [this, output, stopped, rar, codec, locale, window] {
        QElapsedTimer clock;
        clock.start();
        const QString text = DecodeListerOutput(output, codec, locale);
        Databox entries = rar ? ParseRarLine(text) : ParseZipLine(text);
        SortListing(entries);
        const qint64 parsed = clock.restart();
        // Attaching items walks them all: done here, the window only swaps models. The model owns
        // the rows at once, so that leaving now frees them.
        auto model = std::make_shared<std::unique_ptr<CStandardItemModel>>(new CStandardItemModel(0, 5));
        (*model)->AppendRows(BuildListingRows(entries, stopped));
        qDebug() << "listed" << entries.size() << "entries: parsing and sorting" << parsed << "ms, tree built in"
                 << clock.elapsed() << "ms";
        if (stopped())
            return;
        (*model)->moveToThread(window);
        // Were this object gone first, the call is dropped and the model deleted with it.
        QMetaObject::invokeMethod(this, [this, model, stopped] {
            if (stopped())
                Dispose(model->release());
            else if ((*model)->rowCount() == 0)
                Fail(CAbstractManager::tr("Unknown"));
            else
                emit SigPerformFinished(QVariant::fromValue(model->release()));
        });
    });
}
