// How long a small picture waits behind pictures the user has already left: four 20000 × 20000
// PNGs asked for one after another, then a small JPEG. Prints the milliseconds to the JPEG.
// Usage: stalework BOMB.png SMALL.jpg
#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "picture/cpicturemanager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: stalework BOMB.png SMALL.jpg\n");
        return 2;
    }
    CGlobalData& data = CGlobalData::Instance();
    CPictureManager manager;
    const auto ask = [&](const QString& path) {
        data.SetPath(path);
        data.SetSubType(ST_PICTURE);
        manager.Stop();
        manager.Perform();
    };
    QElapsedTimer clock;
    QObject::connect(&manager, &CAbstractManager::SigPerformFinished, [&] {
        std::printf("small picture after %lld ms\n", clock.elapsed());
        app.quit();
    });
    for (int i = 0; i < 4; ++i) {
        ask(QString::fromLocal8Bit(argv[1]));
        QElapsedTimer pause;
        pause.start();
        while (pause.elapsed() < 250) // the user flips on, a quarter second a picture
            app.processEvents(QEventLoop::AllEvents, 10);
    }
    clock.start();
    ask(QString::fromLocal8Bit(argv[2]));
    QTimer::singleShot(120000, &app, &QApplication::quit);
    return app.exec();
}
