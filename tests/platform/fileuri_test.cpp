#include "platform/fileuri.h"
#include "../writefile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

void WriteRaw(const QByteArray& path, const QByteArray& content)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0) << path.toHex().constData();
    ASSERT_EQ(::write(fd, content.constData(), static_cast<size_t>(content.size())), content.size());
    ::close(fd);
}

} // namespace

TEST(FileUri, NamesOnlyAbsoluteLocalPathsByteForByte)
{
    const struct {
        QString uri;
        QByteArray path; // empty: refused
    } cases[] = {
        {"file:///tmp/a.txt", "/tmp/a.txt"},
        {"file://localhost/tmp/a.txt", "/tmp/a.txt"},
        {"FILE://LocalHost/tmp/a.txt", "/tmp/a.txt"},
        {"file:/tmp/a.txt", "/tmp/a.txt"},
        {"file:///tmp/a%FF.txt", "/tmp/a\xff.txt"},
        {"file:///tmp/%E6%97%A5%20x.txt", "/tmp/\xe6\x97\xa5 x.txt"},
        {"file:///tmp/line%0Abreak", "/tmp/line\nbreak"},
        {"file:///tmp/a b 100%.txt", "/tmp/a b 100%.txt"}, // as a script may send it
        {QString::fromUtf8("file:///tmp/\xe6\x97\xa5.txt"), "/tmp/\xe6\x97\xa5.txt"},
        {"file:foo.txt", ""},
        {"file:./foo.txt", ""},
        {"file:", ""},
        {"file://example.com/tmp/a.txt", ""},
        {"http://localhost/tmp/a.txt", ""},
        {"/tmp/a.txt", ""},
        {"file:///tmp/a%00b", ""},
        {"file:///" + QString(70000, 'a'), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LocalFileBytes(c.uri), c.path) << c.uri.left(80).toStdString();
}

TEST(FileUri, CarriesAnyBytesThere)
{
    for (const QByteArray& path : {QByteArray("/tmp/a\xff\xfe.txt"), QByteArray("/t/100% #1?x=y&z"),
                                   QByteArray("/a\nb/\xc3\x28"), QByteArray("/")}) {
        const QString uri = FileUriOfBytes(path);
        EXPECT_EQ(LocalFileBytes(uri), path) << uri.toStdString();
    }
}

// A name the locale cannot decode is shown through a link named as it decodes, to the very file.
TEST(FileUri, OpensFilesWhoseNamesDoNotDecode)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray base = QFile::encodeName(dir.path());
    const QString standIns = dir.filePath(QStringLiteral("names"));
    WriteRaw(base + "/a\xff.txt", "ff");
    WriteRaw(base + "/a\xfe.txt", "fe");
    WriteRaw(base + "/plain.txt", "plain");

    const QString ff = OpenablePath(base + "/a\xff.txt", standIns);
    const QString fe = OpenablePath(base + "/a\xfe.txt", standIns);
    EXPECT_EQ(ReadFile(ff), "ff");
    EXPECT_EQ(ReadFile(fe), "fe");
    EXPECT_EQ(QFileInfo(ff).fileName(), QStringLiteral("a\uFFFD.txt"));
    EXPECT_EQ(OpenablePath(base + "/a\xff.txt", standIns), ff) << "asked again";
    EXPECT_EQ(OpenablePathOfArgument(FileUriOfBytes(base + "/a\xff.txt"), standIns), ff);

    const QString plain = dir.filePath(QStringLiteral("plain.txt"));
    EXPECT_EQ(OpenablePath(base + "/plain.txt", standIns), plain);
    EXPECT_EQ(OpenablePathOfArgument(plain, standIns), plain);
    EXPECT_EQ(OpenablePath(base + "/a\xff.txt", QString()), QString()) << "no folder for links";
    EXPECT_EQ(OpenablePathOfArgument(QStringLiteral("file:a.txt"), standIns), QString());
}
