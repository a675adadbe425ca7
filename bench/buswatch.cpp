// buswatch SECONDS
// Measures how long the previewer's event loop keeps a D-Bus caller waiting: reads its
// "Visible" property every 50 ms for SECONDS and prints "calls max_ms over_100ms p99_ms".
// The property is answered on the GUI thread, so a slow answer is a stalled window.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int seconds = argc == 2 ? std::atoi(argv[1]) : 0;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: buswatch SECONDS\n");
        return 2;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.NautilusPreviewer"), QStringLiteral("/org/gnome/NautilusPreviewer"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.gnome.NautilusPreviewer2") << QStringLiteral("Visible");
    std::vector<qint64> waits;
    QElapsedTimer total, one;
    total.start();
    while (total.elapsed() < seconds * 1000LL) {
        one.start();
        const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, 10000);
        if (reply.type() != QDBusMessage::ReplyMessage) {
            std::fprintf(stderr, "buswatch: %s\n", qPrintable(reply.errorMessage()));
            return 1;
        }
        waits.push_back(one.elapsed());
        QThread::msleep(50);
    }
    std::sort(waits.begin(), waits.end());
    const long over = std::count_if(waits.begin(), waits.end(), [](qint64 w) { return w > 100; });
    std::printf("%zu %lld %ld %lld\n", waits.size(), static_cast<long long>(waits.back()), over,
                static_cast<long long>(waits[waits.size() * 99 / 100]));
    return 0;
}
