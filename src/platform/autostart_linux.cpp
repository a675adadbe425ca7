#include "platform/autostart.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

QString EntryPath(const QString& name)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/autostart/" + name + ".desktop";
}

bool NeedsQuoting(const QString& arg)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (arg.isEmpty())
        return true;
    for (const QChar c : arg)
        if (reserved.contains(c))
            return true;
    return false;
}

// One Exec argument by the quoting rule of desktop entries.
QString QuotedArgument(const QString& arg)
{
    QString text;
    if (NeedsQuoting(arg)) {
        text = QStringLiteral("\"");
        for (const QChar c : arg) {
            if (c == '"' || c == '`' || c == '$' || c == '\\')
                text += '\\';
            text += c;
        }
        text += '"';
    } else {
        text = arg;
    }
    return text.replace('%', QStringLiteral("%%"));
}

// The escapes of string values; applied after the quoting of Exec.
QString EscapedValue(const QString& value)
{
    QString text;
    for (const QChar c : value) {
        if (c == '\\')
            text += QStringLiteral("\\\\");
        else if (c == '\n')
            text += QStringLiteral("\\n");
        else if (c == '\t')
            text += QStringLiteral("\\t");
        else if (c == '\r')
            text += QStringLiteral("\\r");
        else
            text += c;
    }
    return text;
}

QByteArray EntryText(const QString& name, const QString& programPath)
{
    const QString comment = QCoreApplication::translate("Autostart", "Quick file previewer");
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=%1\n"
                                        "Comment=%2\n"
                                        "Exec=%3\n"
                                        "Icon=vuel\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(EscapedValue(name), EscapedValue(comment), EscapedValue(QuotedArgument(programPath)));
    return text.toUtf8();
}

} // namespace

void Autostart::Enable(const QString& name, const QString& programPath)
{
    const QString path = EntryPath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(EntryText(name, programPath)) < 0 || !file.commit())
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << path << file.errorString();
}

void Autostart::Disable(const QString& name)
{
    const QString path = EntryPath(name);
    if (QFile::exists(path) && !QFile::remove(path))
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << "cannot remove" << path;
}
