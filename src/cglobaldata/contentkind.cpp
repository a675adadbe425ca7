#include "cglobaldata/contentkind.h"

#include "cglobaldata/csuffixtables.h"

#include <QHash>
#include <QImageReader>

namespace {

using Kinds = QHash<QString, ContentKind>;

void Add(Kinds& kinds, const char* names, int mainType, int subType, const char* lexer = "")
{
    for (const QString& name : QString::fromLatin1(names).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        kinds.insert(name, {mainType, subType, QString::fromLatin1(lexer)});
}

const Kinds& KnownTypes()
{
    static const Kinds kinds = [] {
        Kinds k;
        Add(k, "text/plain text/csv text/x-readme", MT_TEXT, ST_PLAIN_TEXT);
        Add(k, "text/markdown", MT_MARKDOWN, ST_MARKDOWN);
        Add(k, "text/x-makefile", MT_TEXT, ST_MAKE, "makefile");
        Add(k, "text/x-cmake", MT_TEXT, ST_MAKE);
        Add(k, "application/x-shellscript", MT_TEXT, ST_BASH);
        Add(k, "text/x-python text/x-python3", MT_TEXT, ST_PYTHON);
        Add(k, "text/x-csrc text/x-chdr text/x-c++src text/x-c++hdr", MT_TEXT, ST_CPP);
        Add(k, "text/x-csharp", MT_TEXT, ST_CSHARP);
        Add(k, "text/x-java", MT_TEXT, ST_JAVA);
        Add(k, "application/javascript application/json", MT_TEXT, ST_JAVASCRIPT);
        Add(k, "application/xml", MT_TEXT, ST_XML);
        Add(k, "text/html", MT_TEXT, ST_HTML);
        Add(k, "text/css", MT_TEXT, ST_CSS);
        Add(k, "text/x-patch", MT_TEXT, ST_DIFF);
        Add(k, "text/x-lua", MT_TEXT, ST_LUA);
        Add(k, "application/x-perl", MT_TEXT, ST_PERL);
        Add(k, "application/x-ruby", MT_TEXT, ST_RUBY);
        Add(k, "application/sql", MT_TEXT, ST_SQL);
        Add(k, "text/x-tcl", MT_TEXT, ST_TCL);
        Add(k, "text/x-tex", MT_TEXT, ST_TEX);
        Add(k, "text/x-fortran", MT_TEXT, ST_FORTRAN);
        Add(k, "text/x-matlab", MT_TEXT, ST_MATLAB);
        Add(k, "application/x-yaml", MT_TEXT, ST_PLAIN_TEXT, "yaml");
        Add(k, "application/toml application/x-desktop text/x-systemd-unit", MT_TEXT, ST_PLAIN_TEXT, "properties");
        Add(k, "text/x-go", MT_TEXT, ST_PLAIN_TEXT, "go");
        Add(k, "text/rust", MT_TEXT, ST_PLAIN_TEXT, "rust");
        Add(k, "application/x-typescript text/x-typescript", MT_TEXT, ST_PLAIN_TEXT, "typescript");
        Add(k, "text/x-kotlin", MT_TEXT, ST_PLAIN_TEXT, "kotlin");
        Add(k, "text/x-swift", MT_TEXT, ST_PLAIN_TEXT, "swift");
        Add(k, "text/x-dart", MT_TEXT, ST_PLAIN_TEXT, "dart");
        Add(k, "image/gif", MT_PICTURE, ST_ANIMATION);
        Add(k, "image/vnd.adobe.photoshop", MT_PICTURE, ST_PSD);
        Add(k, "application/pdf", MT_DOCUMENT, ST_PDF);
        Add(k, "application/vnd.rar application/x-rar", MT_DIR, ST_RAR);
        Add(k,
            "application/zip application/x-7z-compressed application/x-tar application/gzip application/x-xz "
            "application/x-bzip application/x-bzip2 application/x-lzma application/java-archive "
            "application/x-compressed-tar application/x-xz-compressed-tar application/x-bzip-compressed-tar "
            "application/x-zstd-compressed-tar application/x-lzma-compressed-tar application/x-lzip-compressed-tar "
            "application/x-tarz",
            MT_DIR, ST_ARCHIVE);
        // LibreOffice converts these as it does the Microsoft formats; RTF is text too, but its
        // markup is no preview of it.
        Add(k,
            "application/vnd.oasis.opendocument.text application/vnd.oasis.opendocument.spreadsheet "
            "application/vnd.oasis.opendocument.presentation application/vnd.oasis.opendocument.graphics "
            "application/rtf text/rtf",
            MT_DOCUMENT, ST_OFFICE);
        Add(k,
            "font/ttf font/otf font/collection font/woff font/woff2 application/x-font-ttf application/x-font-otf "
            "application/x-font-ttx application/x-font-type1 application/x-font-pcf",
            MT_FONT, ST_FONT);
        return k;
    }();
    return kinds;
}

// Plain text that a name says more about.
ContentKind PlainTextBySuffix(const QString& suffix)
{
    static const QStringList properties{"conf", "cfg", "cnf", "properties", "gitconfig", "editorconfig"};
    static const QStringList shell{"bashrc", "bash_profile", "bash_aliases", "bash_logout", "profile", "zshrc"};
    if (properties.contains(suffix))
        return {MT_TEXT, ST_PLAIN_TEXT, QStringLiteral("properties")};
    if (shell.contains(suffix))
        return {MT_TEXT, ST_BASH, QString()};
    return {MT_TEXT, ST_PLAIN_TEXT, QString()};
}

bool IsReadablePicture(const QString& type)
{
    static const QList<QByteArray> readable = QImageReader::supportedMimeTypes();
    return readable.contains(type.toLatin1());
}

} // namespace

ContentKind KindOfContentType(const QStringList& chain, const QString& suffix)
{
    if (chain.isEmpty() || chain.first() == QLatin1String("application/x-zerosize"))
        return {};
    const QString& type = chain.first();
    if (type.startsWith(QLatin1String("video/")))
        return {MT_MEDIA, ST_VIDEO, QString()};
    if (type.startsWith(QLatin1String("audio/")))
        return {MT_MEDIA, ST_AUDIO, QString()};
    // Before the ancestors: an SVG is XML too, but shown as a picture.
    if (type.startsWith(QLatin1String("image/")) && !KnownTypes().contains(type) && IsReadablePicture(type))
        return {MT_PICTURE, ST_PICTURE, QString()};
    for (const QString& name : chain) {
        const auto known = KnownTypes().constFind(name);
        // A DOCX or an ODT is a ZIP too, but a listing of its parts is no preview of it.
        if (known == KnownTypes().constEnd() || (name != type && known->mainType != MT_TEXT))
            continue;
        return name == QLatin1String("text/plain") ? PlainTextBySuffix(suffix.toLower()) : *known;
    }
    return {};
}

QStringList OfficeSuffixesByContent() { return {"odt", "ods", "odp", "odg", "rtf"}; }
