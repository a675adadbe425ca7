#include "appsetup.h"

#include "version.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTranslator>

namespace {

void LogToFile(QtMsgType, const QMessageLogContext&, const QString& message)
{
    QFile file(QStringLiteral("vuel.log"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    QTextStream out(&file);
    out << QString::fromLocal8Bit(message.toLocal8Bit()) << Qt::endl;
}

bool InstallTranslator(QCoreApplication& app, const QLocale& locale, const QString& name, const QString& folder)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(locale, name, QStringLiteral("_"), folder) && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace

bool InstallTranslations(QCoreApplication& app, const QLocale& locale)
{
    // Qt's own texts (file dialog, message box buttons) from the system, when it has them.
    InstallTranslator(app, locale, QStringLiteral("qtbase"), QLibraryInfo::location(QLibraryInfo::TranslationsPath));
    return InstallTranslator(app, locale, QStringLiteral("vuel"), QStringLiteral(":/i18n"));
}

void ApplyApplicationMetadata(QApplication& app)
{
    // First: the application name is translated. "Vuel" stays "Vuel" in every language, so the
    // settings store is the same file whatever the language.
    InstallTranslations(app, QLocale::system());
    QCoreApplication::setOrganizationName(QStringLiteral("Keplo"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("keplo.github.io"));
    QCoreApplication::setApplicationName(QCoreApplication::translate("main", "Vuel"));
    QGuiApplication::setApplicationDisplayName(QCoreApplication::translate("main", "Vuel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VUEL_VERSION));
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    for (Qt::UIEffect effect : {Qt::UI_FadeMenu, Qt::UI_AnimateCombo, Qt::UI_AnimateTooltip, Qt::UI_AnimateToolBox})
        QApplication::setEffectEnabled(effect);
    QFont font(QLocale::system().country() == QLocale::China ? QStringLiteral("Microsoft Yahei")
                                                             : QStringLiteral("Segoe UI"),
               9, QFont::Normal, false);
    font.setStyleStrategy(QFont::PreferAntialias);
    app.setFont(font);
}

void InstallLogFile()
{
    QFile::remove(QStringLiteral("vuel.log"));
    qInstallMessageHandler(LogToFile);
}
