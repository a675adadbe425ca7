// Space in the file manager, as the controller hears it over the previewer interface: on the
// shown file it closes the preview, on another file it switches, after a close it opens again.
#include "../viewerload.h"
#include "../writefile.h"

#include "controller/cmain.h"
#include "core/settings.h"
#include "hook/ckeyboardhookcontroler.h"
#include "mainwnd/cmainwnd.h"
#include "platform/previewerservice.h"

#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

TEST(Controller, SpaceTogglesThePreview)
{
    QTemporaryDir runtime, files; // the first: the controller's temporary folder, removed at its end
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent"); // no previewer name taken, no notice shown
    qunsetenv("DISPLAY");
    // The key hook fails as it is made without a display; heard by no one yet, its message
    // box and the quit after it stay away.
    KeyboardHook();
    QCoreApplication::processEvents();
    SetSettingValue(SettingKey::ShowWelcome, false);
    SetSettingValue(SettingKey::TrackingFile, false); // only the requests move the preview
    CMain controller;
    CMainWnd* wnd = controller.PreviewWindow();
    auto* service = controller.findChild<PreviewerService*>();
    ASSERT_TRUE(service);
    for (const char* name : {"a.txt", "b.txt"})
        WriteFile(files.filePath(name), name);
    const struct {
        const char* file;
        bool shown;
    } spaces[] = {
        {"a.txt", true}, {"a.txt", false}, {"a.txt", true}, {"b.txt", true}, {"b.txt", false}, {"a.txt", true},
    };
    const auto uri = [&files](const char* name) { return QUrl::fromLocalFile(files.filePath(name)).toString(); };
    for (const auto& space : spaces) {
        SCOPED_TRACE(space.file);
        const auto press = [&] { service->HandleShowFile(uri(space.file), "", true); };
        if (space.shown) {
            EXPECT_EQ(LoadedKind(wnd, press), MT_TEXT);
            EXPECT_EQ(wnd->ShownFile().toStdString(), files.filePath(space.file).toStdString());
        } else {
            press();
        }
        EXPECT_TRUE(QTest::qWaitFor([wnd, &space] { return wnd->isVisible() == space.shown; }, 60000));
    }
    // A request with nothing to preview, made before the one before it was answered, leaves that one standing.
    service->HandleShowFile(uri("a.txt"), "", true);
    ASSERT_TRUE(QTest::qWaitFor([wnd] { return !wnd->isVisible(); }, 60000));
    const auto pressThenMove = [&] {
        service->HandleShowFile(uri("b.txt"), "", true);
        service->HandleShowFile(uri("missing.txt"), "", false);
    };
    EXPECT_EQ(LoadedKind(wnd, pressThenMove), MT_TEXT);
    EXPECT_EQ(wnd->ShownFile().toStdString(), files.filePath("b.txt").toStdString());
}
