#include "platform/displayname.h"

#include <gtest/gtest.h>

TEST(DisplayName, BidiControlsCannotReorderTheName)
{
    const struct {
        const char16_t* name;
        const char16_t* shown;
    } cases[] = {
        {u"\u202Etxt.exe", u"\uFFFDtxt.exe"},
        {u"a\u202Ab\u202Bc\u202Cd\u202De", u"a\uFFFDb\uFFFDc\uFFFDd\uFFFDe"},
        {u"\u2066\u2067\u2068\u2069", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {u"x\u200Ey\u200Fz\u061C", u"x\uFFFDy\uFFFDz\uFFFD"},
        // Right-to-left letters, joiners and their neighbours in the code chart stay.
        {u"\u05E9\u05DC\u05D5\u05DD.txt", u"\u05E9\u05DC\u05D5\u05DD.txt"},
        {u"a\u200Db\u200Cc\u2029\u2065\u206A\u061B", u"a\u200Db\u200Cc\u2029\u2065\u206A\u061B"},
        {u"", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DisplayName(QString::fromUtf16(c.name)), QString::fromUtf16(c.shown))
            << QString::fromUtf16(c.name).toStdString();
}
