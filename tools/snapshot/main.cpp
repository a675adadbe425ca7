// vuel-snapshot [--size WxH] [--timeout S] FILE OUT.png
// Previews FILE in a real preview window, writes the window's picture and prints one line.
#include "appsetup.h"
#include "cglobaldata/screenarea.h"
#include "mainwnd/cmainwnd.h"
#include "snapshotjob.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// One line per failure, so a calling script can show it as it stands.
int Fail(const char* why)
{
    std::fprintf(stderr, "vuel-snapshot: %s\n", why);
    return 1;
}

int Usage(const char* why)
{
    std::fprintf(stderr, "vuel-snapshot: %s (usage: vuel-snapshot [--size WxH] [--timeout S] FILE OUT.png)\n", why);
    return 1;
}

bool CanWrite(const QString& out)
{
    const QFileInfo fi(out);
    return fi.exists() ? fi.isFile() && fi.isWritable() : QFileInfo(fi.absolutePath()).isWritable();
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ApplyApplicationMetadata(app);

    QCommandLineParser parser;
    parser.addOption(
        {QStringLiteral("size"), QStringLiteral("Screen size to fit the window in."), QStringLiteral("WxH")});
    parser.addOption({QStringLiteral("timeout"), QStringLiteral("Seconds to wait for the viewer."), QStringLiteral("S"),
                      QStringLiteral("20")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("File to preview."));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("PNG to write."));
    if (!parser.parse(QCoreApplication::arguments()))
        return Usage(qPrintable(parser.errorText()));
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2)
        return Usage("FILE and OUT.png are needed");
    const QString& file = positional.at(0);
    const QString& out = positional.at(1);
    if (!QFileInfo::exists(file))
        return Fail(qPrintable(QStringLiteral("%1 not found").arg(file)));
    if (!CanWrite(out))
        return Fail(qPrintable(QStringLiteral("cannot write %1").arg(out)));
    if (parser.isSet(QStringLiteral("size"))) {
        const auto m =
            QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$")).match(parser.value(QStringLiteral("size")));
        if (!m.hasMatch() || m.captured(1).toInt() < 100 || m.captured(2).toInt() < 100)
            return Usage("--size takes WxH, each at least 100");
        OverrideScreenArea(QRect(0, 0, m.captured(1).toInt(), m.captured(2).toInt()));
    }
    bool ok = false;
    const double seconds = parser.value(QStringLiteral("timeout")).toDouble(&ok);
    if (!ok || seconds <= 0)
        return Usage("--timeout takes a number of seconds");

    CMainWnd wnd;
    SnapshotJob job(wnd, file, out, static_cast<int>(seconds * 1000));
    QObject::connect(&job, &SnapshotJob::Done, &app, &QCoreApplication::exit);
    QTimer::singleShot(0, &job, &SnapshotJob::Start);
    return app.exec();
}
