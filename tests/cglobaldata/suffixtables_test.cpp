#include "cglobaldata/csuffixtables.h"
#include "core/settings.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void ResetSettings()
{
    SetSettingValue(SettingKey::OfficeSupport, false);
    SetSettingValue(SettingKey::TextSupport, QVariant());
}

} // namespace

// Everyday suffixes of each viewer, in either case.
TEST(CSuffixTables, EverydaySuffixesInBothCases)
{
    ResetSettings();
    const CSuffixTables tables;
    const struct {
        const char* suffix;
        int mainType, subType;
    } cases[] = {
        {"mp4", MT_MEDIA, ST_VIDEO},      {"mkv", MT_MEDIA, ST_VIDEO},        {"mp3", MT_MEDIA, ST_AUDIO},
        {"flac", MT_MEDIA, ST_AUDIO},     {"png", MT_PICTURE, ST_PICTURE},    {"jpg", MT_PICTURE, ST_PICTURE},
        {"gif", MT_PICTURE, ST_ANIMATION}, {"psd", MT_PICTURE, ST_PSD},       {"md", MT_MARKDOWN, ST_MARKDOWN},
        {"sh", MT_TEXT, ST_BASH},         {"cpp", MT_TEXT, ST_CPP},           {"py", MT_TEXT, ST_PYTHON},
        {"json", MT_TEXT, ST_JAVASCRIPT}, {"xml", MT_TEXT, ST_XML},           {"txt", MT_TEXT, ST_PLAIN_TEXT},
        {"zip", MT_DIR, ST_ARCHIVE},      {"7z", MT_DIR, ST_ARCHIVE},         {"rar", MT_DIR, ST_RAR},
        {"pdf", MT_DOCUMENT, ST_PDF},     {"docx", MT_UNKNOWN, ST_OFFICE}, // office_support is off
    };
    for (const auto& c : cases) {
        const QString suffix = QString::fromLatin1(c.suffix);
        for (const QString& path : {"/x/a." + suffix, "/x/A." + suffix.toUpper()}) {
            EXPECT_EQ(tables.GetSubType(path), c.subType) << path.toStdString();
            EXPECT_EQ(tables.GetMainType(path), c.mainType) << path.toStdString();
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
