// Prints the first existing path FocusedItemPath() gives for each window id read from standard
// input, a line each, and the time the lookup took on standard error. The event loop runs in between, as in the program, so one
// long-lived connection to the accessibility bus serves every lookup.
#include "platform/accessiblelookup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSocketNotifier>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64];
        const ssize_t size = read(STDIN_FILENO, line, sizeof line - 1);
        if (size <= 0) {
            app.quit();
            return;
        }
        line[size] = '\0';
        QElapsedTimer clock;
        clock.start();
        const QStringList paths = FocusedItemPath(strtoul(line, nullptr, 0)).paths;
        const double ms = clock.nsecsElapsed() / 1e6;
        const auto found =
            std::find_if(paths.begin(), paths.end(), [](const QString& p) { return QFileInfo::exists(p); });
        const QString path = found == paths.end() ? QString() : *found;
        printf("%s\n", path.toUtf8().constData());
        fflush(stdout);
        fprintf(stderr, "lookup %.1f ms\n", ms);
    });
    return app.exec();
}
