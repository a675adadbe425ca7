// vuel-bench [--repeat N] FILE
// Hands FILE to the controller the way a second start does, and measures the time to the
// viewer's loaded signal and to its first paint: once cold (first preview of the process),
// then N times warm. The cold one comes a second after the start, as a user's would.
// Prints one tab-separated line:
//   file kind cold_loaded_ms cold_painted_ms warm_loaded_ms warm_painted_ms peak_rss_kb
#include "appsetup.h"
#include "cglobaldata/cglobaldata.h"
#include "controller/cmain.h"
#include "mainwnd/cmainwnd.h"
#include "platform/startup.h"
#include "viewers/cabstractwnd.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

struct Sample {
    double loadedMs = -1;
    double paintedMs = -1;
};

// Waits, in the event loop, for the loaded signal and then the first paint of the viewer.
class PreviewProbe : public QObject
{
public:
    explicit PreviewProbe(CMain& main) : m_main(main)
    {
        for (CAbstractWnd* viewer : main.PreviewWindow()->findChildren<CAbstractWnd*>())
            connect(viewer, &CAbstractWnd::SigLoaded, this, [this, viewer] { OnLoaded(viewer); });
        qApp->installEventFilter(this);
    }

    Sample Run(const QString& file)
    {
        m_sample = Sample();
        m_viewer = nullptr;
        m_main.PreviewWindow()->hide();
        m_clock.start();
        m_main.SlotForwardedArgs({file});
        QTimer guard;
        guard.setSingleShot(true);
        guard.start(20000);
        while (m_sample.paintedMs < 0 && guard.isActive())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return m_sample;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_viewer && m_sample.paintedMs < 0 && event->type() == QEvent::Paint && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w == m_viewer || m_viewer->isAncestorOf(w))
                m_sample.paintedMs = m_clock.nsecsElapsed() / 1e6;
        }
        return false;
    }

private:
    void OnLoaded(CAbstractWnd* viewer)
    {
        if (m_sample.loadedMs < 0) {
            m_sample.loadedMs = m_clock.nsecsElapsed() / 1e6;
            m_viewer = viewer;
        }
    }

    CMain& m_main;
    Sample m_sample;
    CAbstractWnd* m_viewer = nullptr;
    QElapsedTimer m_clock;
};

double Median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    PrepareWindowingEnvironment();
    QApplication app(argc, argv);
    ApplyApplicationMetadata(app);
    QStringList args = QCoreApplication::arguments().mid(1);
    int repeat = 10;
    if (args.size() >= 2 && args.first() == QLatin1String("--repeat")) {
        repeat = args.at(1).toInt();
        args = args.mid(2);
    }
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: vuel-bench [--repeat N] FILE\n");
        return 1;
    }
    const QString file = args.first();
    CMain main;
    PreviewProbe probe(main);
    // The user presses Space some time after the start: let the start-up work finish.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const Sample cold = probe.Run(file);
    std::vector<double> loaded, painted;
    for (int i = 0; i < repeat; ++i) {
        const Sample warm = probe.Run(file);
        loaded.push_back(warm.loadedMs);
        painted.push_back(warm.paintedMs);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s\t%s\t%.1f\t%.1f\t%.1f\t%.1f\t%ld\n", qPrintable(file),
                MainTypeName(CGlobalData::Instance().MainType()), cold.loadedMs, cold.paintedMs, Median(loaded),
                Median(painted), usage.ru_maxrss);
    return 0;
}
