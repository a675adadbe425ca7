#include "cglobaldata/csuffixtables.h"

#include "core/settings.h"

#include <QFileInfo>
#include <QImageReader>
#include <QMovie>

namespace {

QStringList Words(const char* text) { return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts); }

QStringList FormatNames(const QList<QByteArray>& formats)
{
    QStringList names;
    for (const QByteArray& format : formats)
        names << QString::fromLatin1(format);
    return names;
}

int FirstKeyContaining(const QMap<int, QStringList>& map, const QString& suffix)
{
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        if (it.value().contains(suffix))
            return it.key();
    return 0;
}

QString LowerSuffix(const QFileInfo& fi) { return fi.suffix().toLower(); }

} // namespace

const char* MainTypeName(int mainType)
{
    static const char* const names[] = {"MT_UNKNOWN", "MT_MARKDOWN", "MT_PICTURE", "MT_MEDIA",
                                        "MT_DIR",     "MT_DOCUMENT", "MT_TEXT",    "MT_FONT"};
    return mainType >= 0 && mainType <= MT_FONT ? names[mainType] : "MT_UNKNOWN";
}

CSuffixTables::CSuffixTables()
{
    m_bySubType[ST_VIDEO] =
        Words("avi vfw divx mpg mpeg m1v m2v mpv dv 3gp mov mp4 m4v mqv dat vcd ogm ogv ogx asf wmv iso vob "
              "mkv nsv ram flv rm swf ts rmvb dvr-ms m2t m2ts mts rec f4v hdmov webm vp8 bik smk m4b wtv");
    m_bySubType[ST_AUDIO] = Words("mp3 ogg oga wav wma aac ac3 dts ra ape flac thd mka m4a");
    m_bySubType[ST_ANIMATION] = FormatNames(QMovie::supportedFormats());
    m_bySubType[ST_PSD] = Words("psd psb");
    m_bySubType[ST_MARKDOWN] = Words("md markdown mdown mkdn mkd mdwn mdtxt mdtext");
    m_bySubType[ST_BASH] = Words("bash zsh ebuild eclass sh");
    m_bySubType[ST_BATCH] = Words("bat cmd");
    m_bySubType[ST_MAKE] = Words("mak makefile");
    m_bySubType[ST_CSHARP] = Words("cs csharp");
    m_bySubType[ST_CPP] = Words("c cc cu cxx cpp c++ h hh hpp h++ i ii");
    m_bySubType[ST_CSS] = Words("css");
    m_bySubType[ST_DIFF] = Words("diff patch");
    m_bySubType[ST_FORTRAN77] = Words("f for ftn");
    m_bySubType[ST_FORTRAN] = Words("f95 f90");
    m_bySubType[ST_HTML] = Words("html htm xhtml");
    m_bySubType[ST_JAVA] = Words("java jsp");
    m_bySubType[ST_JAVASCRIPT] = Words("js javascript json");
    m_bySubType[ST_LUA] = Words("lua");
    m_bySubType[ST_MATLAB] = Words("m");
    m_bySubType[ST_PERL] = Words("pl perl cgi pm plx plex");
    m_bySubType[ST_PYTHON] = Words("py python gyp");
    m_bySubType[ST_SQL] = Words("sql");
    m_bySubType[ST_TCL] = Words("itcl wish");
    m_bySubType[ST_TEX] = Words("sty cls");
    m_bySubType[ST_RUBY] = Words("ruby rb irb gemspec podspec thor");
    m_bySubType[ST_XML] = Words("xml sgm sgml nrm ent hdr hub dtd glade wml vxml tld xsl ecf jnlp xsd resx ini");
    m_bySubType[ST_PLAIN_TEXT] = Words("log srt lrc txt url");
    m_bySubType[ST_RAR] = Words("rar");
    m_bySubType[ST_ARCHIVE] = Words("zip zipx tar 7z xz txz z taz tbz2 lzma lzma86 bzip2 gz tgz bz2 jar");
    m_bySubType[ST_PDF] = Words("pdf ai");
    m_bySubType[ST_OFFICE] = Words("doc docx xls xlsx ppt pptx vsd vsdx");
    // The fixed lists keep their suffixes: a picture plug-in that reads Radiance ".hdr" does not
    // take XML headers over.
    QStringList still = FormatNames(QImageReader::supportedImageFormats());
    for (const QStringList& fixed : qAsConst(m_bySubType))
        for (const QString& suffix : fixed)
            still.removeAll(suffix);
    m_bySubType[ST_PICTURE] = still;

    m_byMainType[MT_MARKDOWN] = m_bySubType[ST_MARKDOWN];
    m_byMainType[MT_PICTURE] = m_bySubType[ST_PSD] + m_bySubType[ST_PICTURE] + m_bySubType[ST_ANIMATION];
    m_byMainType[MT_MEDIA] = m_bySubType[ST_AUDIO] + m_bySubType[ST_VIDEO];
    m_byMainType[MT_DIR] = m_bySubType[ST_RAR] + m_bySubType[ST_ARCHIVE];
    m_byMainType[MT_DOCUMENT] = m_bySubType[ST_PDF];
    if (GetSettingValue(SettingKey::OfficeSupport).toBool())
        m_byMainType[MT_DOCUMENT] += m_bySubType[ST_OFFICE];
    QStringList text;
    for (int type : {ST_BASH,    ST_BATCH, ST_MAKE, ST_CSHARP,     ST_CPP,  ST_CSS,       ST_DIFF, ST_FORTRAN77,
                     ST_FORTRAN, ST_HTML,  ST_LUA,  ST_MATLAB,     ST_PERL, ST_PYTHON,    ST_SQL,  ST_TCL,
                     ST_TEX,     ST_XML,   ST_JAVA, ST_JAVASCRIPT, ST_RUBY, ST_PLAIN_TEXT})
        text += m_bySubType[type];
    text += GetSettingValue(SettingKey::TextSupport).toStringList();
    m_byMainType[MT_TEXT] = text;
}

int CSuffixTables::GetMainType(const QString& path, bool folder) const
{
    return folder ? MT_DIR : FirstKeyContaining(m_byMainType, LowerSuffix(QFileInfo(path)));
}

int CSuffixTables::GetSubType(const QString& path, bool folder) const
{
    return folder ? ST_DIR : FirstKeyContaining(m_bySubType, LowerSuffix(QFileInfo(path)));
}
