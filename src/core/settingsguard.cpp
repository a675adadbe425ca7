#include "core/settingsguard.h"

#include <QDebug>
#include <QFile>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>

namespace {

constexpr qint64 kMaxSettingsBytes = 16 * 1024 * 1024;

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxSettingsBytes)
        return QByteArray();
    return file.readAll();
}

// A line as the toolkit would write it back: no blanks around "=" or at the ends.
QByteArray Normalized(QByteArray line)
{
    const int eq = line.indexOf('=');
    if (eq >= 0)
        line = line.left(eq).trimmed() + '=' + line.mid(eq + 1).trimmed();
    return line.trimmed();
}

QSet<QByteArray> SignificantLines(const QByteArray& text)
{
    QSet<QByteArray> lines;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = Normalized(raw);
        if (!line.isEmpty() && !line.startsWith(';') && !line.startsWith('#'))
            lines.insert(line);
    }
    return lines;
}

// What the toolkit writes after reading the file: a save into a private copy.
QByteArray RoundTripped(const QByteArray& original)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("probe.conf"));
    QFile file(copy);
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(original) != original.size())
        return original;
    file.close();
    {
        QSettings settings(copy, QSettings::IniFormat);
        settings.setValue(QStringLiteral("vuel-probe"), 1);
        settings.sync();
        settings.remove(QStringLiteral("vuel-probe"));
    }
    return ReadAll(copy);
}

// A value of a type the toolkit cannot load comes back as @Invalid(), so it is missing too.
bool LosesSomething(const QByteArray& original)
{
    const QSet<QByteArray> kept = SignificantLines(RoundTripped(original));
    for (const QByteArray& line : SignificantLines(original)) {
        if (!kept.contains(line))
            return true;
    }
    return false;
}

QString FreeCopyName(const QString& file, const QByteArray& content)
{
    for (int n = 1; n < 100; ++n) {
        const QString name = file + QStringLiteral(".unreadable") + (n > 1 ? QStringLiteral("-%1").arg(n) : QString());
        if (!QFile::exists(name))
            return name;
        if (ReadAll(name) == content)
            return QString(); // kept already
    }
    return QString();
}

} // namespace

QString KeepUnreadableSettings(const QString& file)
{
    const QByteArray original = ReadAll(file);
    if (original.isEmpty() || !LosesSomething(original))
        return QString();
    const QString copy = FreeCopyName(file, original);
    if (copy.isEmpty() || !QFile::copy(file, copy))
        return QString();
    qDebug() << "settings: kept a copy of" << file << "as" << copy << "before anything rewrites it";
    return copy;
}
