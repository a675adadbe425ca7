#include "cglobaldata/contentkind.h"
#include "cglobaldata/csuffixtables.h"
#include "platform/contenttype.h"
#include "../writefile.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Files the suffix tables do not know reach the viewer their content calls for: one row per way
// through the mapping, not one per entry of its table.
TEST(ContentKind, FilesWithoutAKnownSuffixAreShownByTheirContent)
{
    const struct {
        const char* name;
        QByteArray content;
        int mainType;
        int subType;
        const char* lexer;
    } cases[] = {
        {"README", "Read me first.\n", MT_TEXT, ST_PLAIN_TEXT, ""},
        {"Dockerfile", "FROM debian:12\nRUN true\n", MT_TEXT, ST_PLAIN_TEXT, ""}, // through text/plain
        {"Makefile", "all:\n\techo hi\n", MT_TEXT, ST_MAKE, "makefile"},
        {"run-me", "#!/bin/sh\necho hi\n", MT_TEXT, ST_BASH, ""},
        {".bashrc", "alias ll='ls -l'\n", MT_TEXT, ST_BASH, ""},
        {"main.go", "package main\n\nfunc main() {}\n", MT_TEXT, ST_PLAIN_TEXT, "go"},
        {"ci.yaml", "jobs:\n  build: true\n", MT_TEXT, ST_PLAIN_TEXT, "yaml"},
        {"Cargo.toml", "[package]\nname = \"x\"\n", MT_TEXT, ST_PLAIN_TEXT, "properties"},
        {"photo", PngBytes(), MT_PICTURE, ST_PICTURE, ""},
        {"paper", "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<<>>\nendobj\n", MT_DOCUMENT, ST_PDF, ""},
        {"backup", QByteArray("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10), MT_DIR, ST_ARCHIVE, ""},
        {"notes.odt",
         QByteArray("PK\x03\x04\x14\x00\x00\x00\x00\x00", 10) + "mimetypeapplication/vnd.oasis.opendocument.text",
         MT_DOCUMENT, ST_OFFICE, ""},
        {"letter.rtf", "{\\rtf1\\ansi Dear reader,\\par}\n", MT_DOCUMENT, ST_OFFICE, ""},
        {"Sans.ttf", QByteArray("\x00\x01\x00\x00\x00\x0c\x00\x80", 8).leftJustified(64, '\0'), MT_FONT, ST_FONT, ""},
        {"backup.tzst", QByteArray("\x28\xb5\x2f\xfd\x04\x58", 6).leftJustified(64, '\0'), MT_DIR, ST_ARCHIVE, ""},
        {"empty", "", MT_UNKNOWN, ST_UNKNOWN, ""},
        {"blob", QByteArray("\x00\x01\x02\xff\xfe\x00\x10\x80", 8).repeated(64), MT_UNKNOWN, ST_UNKNOWN, ""},
    };
    if (!KnowsContentTypes())
        GTEST_SKIP() << "this platform leaves kinds to suffixes";
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = WriteFile(dir.filePath(QString::fromLatin1(c.name)), c.content);
        const ContentKind kind = KindOfContentType(ContentTypeChain(path), QFileInfo(path).suffix());
        EXPECT_EQ(kind.mainType, c.mainType);
        EXPECT_EQ(kind.subType, c.subType);
        EXPECT_EQ(kind.lexer, QString::fromLatin1(c.lexer));
    }
}
