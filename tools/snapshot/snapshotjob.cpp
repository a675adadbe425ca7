#include "snapshotjob.h"

#include "cglobaldata/cglobaldata.h"
#include "mainwnd/cmainwnd.h"
#include "viewers/cabstractwnd.h"

#include <QFileInfo>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

SnapshotJob::SnapshotJob(CMainWnd& wnd, QString file, QString out, int timeoutMs)
    : m_wnd(wnd), m_file(std::move(file)), m_out(std::move(out)), m_timeoutMs(timeoutMs)
{
    for (CAbstractWnd* viewer : m_wnd.findChildren<CAbstractWnd*>())
        connect(viewer, &CAbstractWnd::SigLoaded, this, &SnapshotJob::OnLoaded, Qt::QueuedConnection);
}

void SnapshotJob::Start()
{
    QTimer::singleShot(m_timeoutMs, this, [this] { Fail(QStringLiteral("timed out after %1 ms").arg(m_timeoutMs)); });
    m_clock.start();
    m_wnd.Display();
    m_wnd.Load(m_file);
    if (CGlobalData::Instance().Path().isEmpty())
        Fail(QStringLiteral("%1 is not previewed (no suffix)").arg(m_file));
}

void SnapshotJob::OnLoaded()
{
    if (m_finished || m_loadMs >= 0)
        return;
    m_loadMs = m_clock.elapsed();
    // The shadow and the new size are painted on the next turns of the event loop.
    QTimer::singleShot(50, this, &SnapshotJob::Save);
}

void SnapshotJob::Save()
{
    if (m_finished)
        return;
    const QPixmap picture = m_wnd.grab();
    if (!picture.save(m_out, "PNG")) {
        Fail(QStringLiteral("cannot write %1").arg(m_out));
        return;
    }
    m_finished = true;
    const CGlobalData& data = CGlobalData::Instance();
    std::printf("kind=%s subtype=%d load_ms=%lld size=%dx%d\n", MainTypeName(data.MainType()), data.SubType(),
                static_cast<long long>(m_loadMs), picture.width(), picture.height());
    std::fflush(stdout);
    emit Done(0);
}

void SnapshotJob::Fail(const QString& message)
{
    if (m_finished)
        return;
    m_finished = true;
    std::fprintf(stderr, "vuel-snapshot: %s\n", qPrintable(message));
    emit Done(1);
}
