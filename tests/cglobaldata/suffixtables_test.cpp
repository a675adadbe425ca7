#include "cglobaldata/csuffixtables.h"
#include "core/settings.h"

#include <gtest/gtest.h>

// The registry's own tables are not restated here: the window tests open every kind by its suffix.
TEST(CSuffixTables, EdgeCasesAndSettings)
{
    SetSettingValue(SettingKey::OfficeSupport, false);
    SetSettingValue(SettingKey::TextSupport, QVariant());
    const CSuffixTables plain;
    SetSettingValue(SettingKey::OfficeSupport, true);
    SetSettingValue(SettingKey::TextSupport, QStringList{"abc", "mp4"});
    const CSuffixTables extended; // the settings count as they are at construction
    SetSettingValue(SettingKey::OfficeSupport, false);
    SetSettingValue(SettingKey::TextSupport, QVariant());
    const struct {
        const CSuffixTables& tables;
        QString path;
        int mainType, subType;
    } cases[] = {
        {plain, "/x/A.JPG", MT_PICTURE, ST_PICTURE},        {plain, "/x/a.docx", MT_UNKNOWN, ST_OFFICE},
        {plain, "/x/archive.tar.gz", MT_DIR, ST_ARCHIVE},   {plain, "/x/README", MT_UNKNOWN, ST_UNKNOWN},
        {plain, "/x/trailingdot.", MT_UNKNOWN, ST_UNKNOWN}, {plain, "/x/a.txt.bak", MT_UNKNOWN, ST_UNKNOWN},
        {plain, "/x/a.abc", MT_UNKNOWN, ST_UNKNOWN},        {extended, "/x/a.doc", MT_DOCUMENT, ST_OFFICE},
        {extended, "/x/a.VSDX", MT_DOCUMENT, ST_OFFICE},    {extended, "/x/a.pdf", MT_DOCUMENT, ST_PDF},
        {extended, "/x/a.ABC", MT_TEXT, ST_UNKNOWN},        {extended, "/x/a.mp4", MT_MEDIA, ST_VIDEO},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.tables.GetMainType(c.path, false), c.mainType) << c.path.toStdString();
        EXPECT_EQ(c.tables.GetSubType(c.path, false), c.subType) << c.path.toStdString();
    }
    // A folder is one whatever its name says.
    EXPECT_EQ(plain.GetMainType("/x/a.zip", true), MT_DIR);
    EXPECT_EQ(plain.GetSubType("/x/a.zip", true), ST_DIR);
    for (int type : {-1, MT_FONT + 1, 1000}) // a name out of range, not a read past the names
        EXPECT_STREQ(MainTypeName(type), "MT_UNKNOWN") << type;
}
