#include "cglobaldata/csuffixtables.h"
#include "core/settings.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Group {
    int subType;
    int mainType;
    const char* suffixes;
};

// The fixed vocabulary: every suffix of a group, and the viewer kind it opens in.
const Group kGroups[] = {
    {ST_VIDEO, MT_MEDIA,
     "avi vfw divx mpg mpeg m1v m2v mpv dv 3gp mov mp4 m4v mqv dat vcd ogm ogv ogx asf wmv iso vob mkv "
     "nsv ram flv rm swf ts rmvb dvr-ms m2t m2ts mts rec f4v hdmov webm vp8 bik smk m4b wtv"},
    {ST_AUDIO, MT_MEDIA, "mp3 ogg oga wav wma aac ac3 dts ra ape flac thd mka m4a"},
    {ST_PSD, MT_PICTURE, "psd psb"},
    {ST_MARKDOWN, MT_MARKDOWN, "md markdown mdown mkdn mkd mdwn mdtxt mdtext"},
    {ST_BASH, MT_TEXT, "bash zsh ebuild eclass sh"},
    {ST_BATCH, MT_TEXT, "bat cmd"},
    {ST_MAKE, MT_TEXT, "mak makefile"},
    {ST_CSHARP, MT_TEXT, "cs csharp"},
    {ST_CPP, MT_TEXT, "c cc cu cxx cpp c++ h hh hpp h++ i ii"},
    {ST_CSS, MT_TEXT, "css"},
    {ST_DIFF, MT_TEXT, "diff patch"},
    {ST_FORTRAN77, MT_TEXT, "f for ftn"},
    {ST_FORTRAN, MT_TEXT, "f95 f90"},
    {ST_HTML, MT_TEXT, "html htm xhtml"},
    {ST_JAVA, MT_TEXT, "java jsp"},
    {ST_JAVASCRIPT, MT_TEXT, "js javascript json"},
    {ST_LUA, MT_TEXT, "lua"},
    {ST_MATLAB, MT_TEXT, "m"},
    {ST_PERL, MT_TEXT, "pl perl cgi pm plx plex"},
    {ST_PYTHON, MT_TEXT, "py python gyp"},
    {ST_SQL, MT_TEXT, "sql"},
    {ST_TCL, MT_TEXT, "itcl wish"},
    {ST_TEX, MT_TEXT, "sty cls"},
    {ST_RUBY, MT_TEXT, "ruby rb irb thor"},
    {ST_XML, MT_TEXT, "xml sgm sgml nrm ent hdr hub dtd glade wml vxml tld xsl ecf jnlp xsd resx ini"},
    {ST_PLAIN_TEXT, MT_TEXT, "log srt lrc txt url"},
    {ST_RAR, MT_DIR, "rar"},
    {ST_ARCHIVE, MT_DIR, "zip zipx tar 7z xz txz z taz tbz2 lzma lzma86 bzip2 gz tgz bz2 jar"},
    {ST_PDF, MT_DOCUMENT, "pdf ai"},
    {ST_OFFICE, MT_UNKNOWN, "doc docx xls xlsx ppt pptx vsd vsdx"}, // office_support is off
    // Pictures come from the toolkit; these three it always has.
    {ST_PICTURE, MT_PICTURE, "png jpg"},
    {ST_ANIMATION, MT_PICTURE, "gif"},
};

void ResetSettings()
{
    SetSettingValue(SettingKey::OfficeSupport, false);
    SetSettingValue(SettingKey::TextSupport, QVariant());
}

} // namespace

TEST(CSuffixTables, EveryFixedSuffixInBothCases)
{
    ResetSettings();
    const CSuffixTables tables;
    for (const Group& g : kGroups) {
        for (const QString& suffix : QString(g.suffixes).split(' ')) {
            for (const QString& path : {"/x/a." + suffix, "/x/A." + suffix.toUpper()}) {
                EXPECT_EQ(tables.GetSubType(path), g.subType) << path.toStdString();
                EXPECT_EQ(tables.GetMainType(path), g.mainType) << path.toStdString();
            }
        }
    }
}

TEST(CSuffixTables, EdgeCasesAndSettings)
{
    ResetSettings();
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkdir("a.zip"));
    const CSuffixTables plain;
    SetSettingValue(SettingKey::OfficeSupport, true);
    SetSettingValue(SettingKey::TextSupport, QStringList{"abc", "mp4"});
    const CSuffixTables extended; // the settings count as they are at construction
    ResetSettings();
    const struct {
        const CSuffixTables& tables;
        QString path;
        int mainType, subType;
    } cases[] = {
        {plain, tmp.filePath("a.zip"), MT_DIR, ST_DIR},
        {plain, "/x/archive.tar.gz", MT_DIR, ST_ARCHIVE},
        {plain, "/x/README", MT_UNKNOWN, ST_UNKNOWN},
        {plain, "/x/trailingdot.", MT_UNKNOWN, ST_UNKNOWN},
        {plain, "/x/a.txt.bak", MT_UNKNOWN, ST_UNKNOWN},
        {plain, "/x/a.abc", MT_UNKNOWN, ST_UNKNOWN},
        {extended, "/x/a.doc", MT_DOCUMENT, ST_OFFICE},
        {extended, "/x/a.VSDX", MT_DOCUMENT, ST_OFFICE},
        {extended, "/x/a.pdf", MT_DOCUMENT, ST_PDF},
        {extended, "/x/a.ABC", MT_TEXT, ST_UNKNOWN},
        {extended, "/x/a.mp4", MT_MEDIA, ST_VIDEO},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.tables.GetMainType(c.path), c.mainType) << c.path.toStdString();
        EXPECT_EQ(c.tables.GetSubType(c.path), c.subType) << c.path.toStdString();
    }
}

TEST(CSuffixTables, MainTypeNameOutOfRange)
{
    for (int type : {-1, MT_FONT + 1, 1000})
        EXPECT_STREQ(MainTypeName(type), "MT_UNKNOWN") << type;
}
