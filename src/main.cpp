#include "appsetup.h"
#include "controller/cmain.h"
#include "customapplication/customapplication.h"
#include "core/settingsguard.h"
#include "core/tempfolder.h"
#include "controller/csystemtrayicon.h"
#include "platform/allocator.h"
#include "platform/crashhandler.h"
#include "platform/fileuri.h"
#include "platform/startup.h"

#include <QDebug>
#include <QFileInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QMessageBox>
#include <QSettings>
#include <QTime>
#include <QTimer>

#include <cstdio>

#include <unistd.h>

namespace {

void TellAboutCrash(const CrashHandler::Report& report)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Sorry"),
                    QStringLiteral("<FONT size=4><div><b>Something unexpected happened.</b><br/></div>Vuel will "
                                   "start again.<div>code:%1</div><div>addr: %2</div></FONT>")
                        .arg(report.code, report.address),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::RichText);
    box.exec();
}

bool IsOption(const QString& arg) { return arg.startsWith(QLatin1String("--")) || arg == QLatin1String("log"); }

// The file a start asks to preview (`vuel FILE`), empty for none.
QString FileArgument(const QStringList& args)
{
    return args.isEmpty() || IsOption(args.first()) ? QString() : args.first();
}

bool ArgumentExists(const QString& arg)
{
    if (!arg.startsWith(QLatin1String("file:")))
        return QFileInfo::exists(arg);
    const QByteArray path = LocalFileBytes(arg);
    return !path.isEmpty() && ::access(path.constData(), F_OK) == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    LimitAllocatorPools();
    const CrashHandler::Report crash = CrashHandler::Install(argc, argv);
    PrepareWindowingEnvironment();
    CApplication app(argc, argv);
    const QIcon icon(QStringLiteral("logo.ico")); // beside the program on Windows; ours otherwise
    QGuiApplication::setWindowIcon(icon.availableSizes().isEmpty() ? QIcon(QStringLiteral("://logo.ico")) : icon);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 1 && args.first() == QLatin1String("log"))
        InstallLogFile();
    // As forwarded: a name the locale cannot decode is a file: URI there.
    const QString file = FileArgument(args).isEmpty() ? QString() : app.Arguments().first();
    if (!app.ForwardError().isEmpty()) {
        std::fprintf(stderr, "vuel: a running instance does not answer (%s); nothing started\n",
                     qPrintable(app.ForwardError()));
        return 2;
    }
    // Handed over to the running instance: 0, or 1 for a file that is not there.
    if (!app.IsFirstInstance())
        return file.isEmpty() || ArgumentExists(file) ? 0 : 1;
    if (!file.isEmpty() && !ArgumentExists(file)) {
        std::fprintf(stderr, "vuel: %s: no such file or folder\n", qPrintable(file));
        return 1;
    }
    if (args.value(0) == QLatin1String("--quit"))
        return 0; // nothing runs that could quit

    ApplyApplicationMetadata(app);
    qDebug() << QTime::currentTime().toString() << "\n"
             << QCoreApplication::applicationDirPath() << "\n"
             << app.font() << QFontMetrics(app.font()).height() << "\n"
             << "Temp path" << TempFolder() << "\n\n\n";
    const QString keptSettings = KeepUnreadableSettings(QSettings().fileName());
    auto* controller = new CMain;
    if (!keptSettings.isEmpty()) // after the start balloon, which would cover it
        QTimer::singleShot(0, controller, [controller, keptSettings] {
            controller->Tray()->ShowNotice(
                QCoreApplication::translate("main", "Notice"),
                QCoreApplication::translate("main", "Some settings could not be read. A copy is kept in %1.")
                    .arg(keptSettings));
        });
    QObject::connect(&app, &CApplication::SigActiveApp, controller, &CMain::SlotForwardedArgs, Qt::DirectConnection);
    CrashHandler::Arm();
    // A cold start with a file or --settings does what it would ask of a running instance.
    if (!file.isEmpty() || args.value(0) == QLatin1String("--settings")) {
        const QStringList own{file.isEmpty() ? args.first() : file};
        QTimer::singleShot(0, controller, [controller, own] { controller->SlotForwardedArgs(own); });
    }
    // After the connection: paths forwarded while the box is open are still previewed.
    if (crash.crashed)
        TellAboutCrash(crash);
    const int result = app.exec();
    delete controller;
    return result;
}
