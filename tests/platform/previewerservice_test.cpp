#include "platform/previewerservice.h"

#include <gtest/gtest.h>

namespace {

QString Handle(quint64 window) { return QStringLiteral("x11:") + QString::number(window, 16); }

} // namespace

// A caller can make up any number of windows: only the latest are remembered.
TEST(PreviewerService, RemembersTheLatestWindows)
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus"); // the service alone, no bus
    const QString uri = QStringLiteral("file:///tmp/a.txt");
    PreviewerService service;
    for (quint64 window = 1; window <= 400; ++window)
        service.HandleShowFile(uri, Handle(window == 300 ? 1 : window), false);
    EXPECT_EQ(service.ReportedItem(1), QStringLiteral("/tmp/a.txt")) << "reported again lately";
    EXPECT_EQ(service.ReportedItem(2), QString()) << "an old window is still remembered";
    EXPECT_EQ(service.ReportedItem(400), QStringLiteral("/tmp/a.txt"));
    int kept = 0;
    for (quint64 window = 1; window <= 400; ++window)
        kept += !service.ReportedItem(window).isEmpty();
    EXPECT_EQ(kept, 256);
}
