#include "platform/fileinfo.h"

#include "platform/privatefolder.h"

#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QMimeDatabase>

// GLib names a struct member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#include <linux/magic.h>
#include <sys/vfs.h>
#pragma pop_macro("signals")

namespace {

// A bare X session has no theme set; the desktop's own theme is what users see elsewhere.
void EnsureIconTheme()
{
    static const bool done = [] {
        if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor")) {
            for (const char* theme : {"Adwaita", "breeze", "gnome"}) {
                if (QDir(QStringLiteral("/usr/share/icons/") + theme).exists()) {
                    QIcon::setThemeName(theme);
                    break;
                }
            }
        }
        return true;
    }();
    Q_UNUSED(done);
}

QMimeType MimeTypeOf(const QString& path, bool folder)
{
    QMimeDatabase db;
    if (folder)
        return db.mimeTypeForName(QStringLiteral("inode/directory"));
    // Content sniffing would read the file (a FIFO would block); the name decides, as the
    // Windows shell does.
    return db.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
}

QIcon IconFromGIcon(GIcon* gicon)
{
    if (!gicon)
        return {};
    if (G_IS_THEMED_ICON(gicon)) {
        const gchar* const* names = g_themed_icon_get_names(G_THEMED_ICON(gicon));
        for (int i = 0; names && names[i]; ++i) {
            const QIcon icon = QIcon::fromTheme(QString::fromUtf8(names[i]));
            if (!icon.isNull())
                return icon;
        }
    } else if (G_IS_FILE_ICON(gicon)) {
        gchar* file = g_file_get_path(g_file_icon_get_file(G_FILE_ICON(gicon)));
        QIcon icon(QString::fromUtf8(file));
        g_free(file);
        return icon;
    }
    return {};
}

} // namespace

QString ShellTypeName(const QString& path, bool folder)
{
    const QMimeType mime = MimeTypeOf(path, folder);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
}

QIcon ShellFileIcon(const QString& path, bool folder)
{
    EnsureIconTheme();
    const QMimeType mime = MimeTypeOf(path, folder);
    QIcon icon = QIcon::fromTheme(mime.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(mime.genericIconName());
    if (icon.isNull())
        icon = QFileIconProvider().icon(folder ? QFileIconProvider::Folder : QFileIconProvider::File);
    return icon;
}

AssociatedProgram FindAssociatedProgram(const QString& path, bool folder)
{
    EnsureIconTheme();
    AssociatedProgram program;
    const QByteArray mime = MimeTypeOf(path, folder).name().toUtf8();
    gchar* contentType = g_content_type_from_mime_type(mime.constData());
    GAppInfo* app = contentType ? g_app_info_get_default_for_type(contentType, FALSE) : nullptr;
    g_free(contentType);
    if (!app)
        return program;
    const char* exe = g_app_info_get_executable(app);
    if (exe && *exe) {
        gchar* full = g_find_program_in_path(exe);
        program.executable = QString::fromUtf8(full ? full : exe);
        g_free(full);
    }
    program.name = QString::fromUtf8(g_app_info_get_display_name(app));
    program.icon = IconFromGIcon(g_app_info_get_icon(app));
    g_object_unref(app);
    return program;
}

void WarmShellCaches()
{
    // A name no one else can plant: a FIFO there would hold the window's thread while its type is read.
    const QString sample = UserRuntimeFolder() + QStringLiteral("/vuel-warm-up.txt");
    ShellTypeName(sample, false);
    ShellFileIcon(sample, false).pixmap(24, 24);
    FindAssociatedProgram(sample, false);
}

bool IsKernelFile(const QString& path)
{
    struct statfs fs {};
    if (statfs(QFile::encodeName(path).constData(), &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case BPF_FS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}
