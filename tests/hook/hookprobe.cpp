// Test program. "hookprobe": the keyboard hook, printing "ready", "failed", "down" (a Space
// press) and "trigger". "hookprobe window": a window printing the Space keys it receives.
#include "hook/ckeyboardhookcontroler.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <cstdio>

namespace {

void Print(const char* line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

class KeyLogWindow : public QWidget
{
protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        Log(event->isAutoRepeat() ? "repeat space" : "press space", event);
    }
    void keyReleaseEvent(QKeyEvent* event) override
    {
        if (!event->isAutoRepeat())
            Log("release space", event);
    }

private:
    static void Log(const char* line, const QKeyEvent* event)
    {
        if (event->key() == Qt::Key_Space)
            Print(line);
    }
};

int RunWindow(QApplication& app)
{
    KeyLogWindow window;
    window.setWindowTitle(QStringLiteral("hookprobe target"));
    window.resize(300, 200);
    window.show();
    window.activateWindow();
    return app.exec();
}

int RunHook(QApplication& app)
{
    CKeyboardHookControler* hook = KeyboardHook();
    QObject::connect(hook, &CKeyboardHookControler::SigHookFailed, [] { Print("failed"); });
    QObject::connect(hook, &CKeyboardHookControler::SigTriggerKeyDown, [] { Print("down"); });
    QObject::connect(hook, &CKeyboardHookControler::SigKeyPressed, [] { Print("trigger"); });
    if (hook->IsInstalled())
        Print("ready");
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Keplo"));
    QCoreApplication::setApplicationName(QStringLiteral("Vuel"));
    if (argc > 1 && QByteArray(argv[1]) == "window")
        return RunWindow(app);
    return RunHook(app);
}
