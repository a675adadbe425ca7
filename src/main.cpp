#include "appsetup.h"
#include "controller/cmain.h"
#include "customapplication/customapplication.h"
#include "core/settingsguard.h"
#include "core/tempfolder.h"
#include "controller/csystemtrayicon.h"
#include "platform/allocator.h"
#include "platform/crashhandler.h"
#include "platform/startup.h"

#include <QDebug>
#include <QFontMetrics>
#include <QIcon>
#include <QMessageBox>
#include <QSettings>
#include <QTime>
#include <QTimer>

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
    if (!app.IsFirstInstance())
        return -1;

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
    // After the connection: paths forwarded while the box is open are still previewed.
    if (crash.crashed)
        TellAboutCrash(crash);
    const int result = app.exec();
    delete controller;
    return result;
}
