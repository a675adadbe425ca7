#include "appsetup.h"
#include "controller/cmain.h"
#include "customapplication/customapplication.h"
#include "core/tempfolder.h"
#include "platform/allocator.h"
#include "platform/crashhandler.h"
#include "platform/startup.h"

#include <QDebug>
#include <QFontMetrics>
#include <QIcon>
#include <QMessageBox>
#include <QTime>

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
    auto* controller = new CMain;
    QObject::connect(&app, &CApplication::SigActiveApp, controller, &CMain::SlotForwardedArgs, Qt::DirectConnection);
    // After the connection: paths forwarded while the box is open are still previewed.
    if (crash.crashed)
        TellAboutCrash(crash);
    const int result = app.exec();
    delete controller;
    return result;
}
