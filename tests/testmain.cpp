// Every unit test runs with a private settings and data folder, so the user's own settings
// are never read or written.
#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QTemporaryDir home;
    // A test that starts itself again hands the child the home it made.
    if (!qEnvironmentVariableIsSet("VUEL_TEST_KEEP_HOME")) {
        qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
        qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toLocal8Bit());
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Keplo");
    QCoreApplication::setApplicationName("Vuel");
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // A line edit's clear button fades with an animation that deletes itself only on a timer
    // tick after its widget is gone; the tests run no event loop, so give it those ticks
    // before the leak check at exit.
    QEventLoop ticks;
    QTimer::singleShot(100, &ticks, &QEventLoop::quit);
    ticks.exec();
    return result;
}
