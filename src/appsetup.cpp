#include "appsetup.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QLocale>
#include <QTextStream>

namespace {

void LogToFile(QtMsgType, const QMessageLogContext&, const QString& message)
{
    QFile file(QStringLiteral("vuel.log"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    QTextStream out(&file);
    out << QString::fromLocal8Bit(message.toLocal8Bit()) << Qt::endl;
}

} // namespace

void ApplyApplicationMetadata(QApplication& app)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Keplo"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("keplo.github.io"));
    QCoreApplication::setApplicationName(QCoreApplication::translate("main", "Vuel"));
    QGuiApplication::setApplicationDisplayName(QCoreApplication::translate("main", "Vuel"));
    QCoreApplication::setApplicationVersion(QStringLiteral("0.4.2"));
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
