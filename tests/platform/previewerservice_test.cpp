#include "platform/previewerservice.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString Handle(quint64 window) { return QStringLiteral("x11:") + QString::number(window, 16); }

} // namespace

// What a caller sends: which URIs reach the preview (and as what), and how much is remembered.
TEST(PreviewerService, TakesLocalUrisAndRemembersTheLatestWindows)
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus"); // the service alone, no bus
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray raw = QFile::encodeName(dir.path()) + "/b\xff.txt";
    const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "ff", 2), 2);
    ::close(fd);
    QFile(dir.filePath("a.txt")).open(QIODevice::WriteOnly);
    const QString a = dir.filePath("a.txt");

    PreviewerService service;
    service.SetStandInFolder(dir.filePath("names"));
    QSignalSpy shown(&service, &PreviewerService::SigShowFile);
    for (const QString& uri : {QStringLiteral("file:a.txt"), QStringLiteral("file://example.com") + a,
                               QStringLiteral("a.txt"), QString()})
        service.HandleShowFile(uri, Handle(1), true);
    EXPECT_EQ(shown.count(), 0) << "a relative, remote or missing URI was taken";
    service.HandleShowFile(QStringLiteral("file://localhost") + a, Handle(1), true);
    ASSERT_EQ(shown.count(), 1);
    EXPECT_EQ(shown.takeFirst().value(0).toString(), a);
    service.HandleShowFile(QStringLiteral("file://") + QString::fromLatin1(raw.toPercentEncoding("/")), QString(), true);
    ASSERT_EQ(shown.count(), 1);
    QFile standIn(shown.takeFirst().value(0).toString());
    ASSERT_TRUE(standIn.open(QIODevice::ReadOnly)) << standIn.fileName().toStdString();
    EXPECT_EQ(standIn.readAll(), "ff");

    for (quint64 window = 2; window <= 400; ++window)
        service.HandleShowFile(QStringLiteral("file://") + a, Handle(window == 300 ? 1 : window), false);
    EXPECT_EQ(service.ReportedItem(1), a) << "reported again lately";
    EXPECT_EQ(service.ReportedItem(2), QString()) << "an old window is still remembered";
    EXPECT_EQ(service.ReportedItem(400), a);
    int kept = 0;
    for (quint64 window = 2; window <= 400; ++window)
        kept += !service.ReportedItem(window).isEmpty();
    EXPECT_LE(kept, 256);
}
