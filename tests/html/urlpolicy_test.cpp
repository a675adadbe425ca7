#include "html/urlpolicy.h"
#include "../writefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Layout: top/doc (the document's folder), top/doc-other (a sibling whose name starts the
// same), top/secret.png (outside), top/alias -> doc (a linked folder).
TEST(UrlPolicy, PageRequests)
{
    QTemporaryDir tmp;
    const QString top = QFileInfo(tmp.path()).canonicalFilePath();
    const QString doc = top + "/doc";
    const auto fileUrl = [](const QString& path) { return QUrl("file://" + path); };
    ASSERT_TRUE(QDir().mkpath(doc + "/sub"));
    ASSERT_TRUE(QDir().mkpath(top + "/doc-other"));
    for (const QString& file : {doc + "/pic.png", doc + "/sub/pic2.png", doc + "/name with space.png",
                                top + "/secret.png", top + "/doc-other/pic.png"})
        WriteFile(file, "x");
    ASSERT_TRUE(QFile::link(doc + "/pic.png", doc + "/link-in.png"));
    ASSERT_TRUE(QFile::link(doc, top + "/alias"));
    MakeFifo(doc + "/fifo.png");

    const struct {
        QUrl url;
        QString folder;
        bool allowed;
    } cases[] = {
        {QUrl("qrc:///html/css/bootstrap.css"), doc, true},
        {QUrl("qrc:///html/css/bootstrap.css"), QString(), true},
        {fileUrl(doc + "/pic.png"), doc, true},
        {fileUrl(doc + "/sub/pic2.png"), doc, true},
        {fileUrl(doc + "/sub/../pic.png"), doc, true},
        {QUrl::fromLocalFile(doc + "/name with space.png"), doc, true},
        {QUrl("file://localhost" + doc + "/pic.png"), doc, true},
        {fileUrl(doc + "/link-in.png"), doc, true},
        {fileUrl(top + "/alias/pic.png"), top + "/alias", true},
        {fileUrl(doc + "/pic.png"), top + "/alias", true},
        {fileUrl(doc + "/pic.png"), doc + "/", true},
        {QUrl("data:image/png;base64,iVBORw0KGgo="), doc, true},
        {QUrl("DATA:image/JPEG;base64,/9j/"), doc, true},

        {fileUrl(doc + "/pic.png"), QString(), false},
        {fileUrl(doc + "/%2e%2e/secret.png"), doc, false},
        {fileUrl(doc + "/sub/../../secret.png"), doc, false},
        {fileUrl(top + "/doc-other/pic.png"), doc, false},
        {fileUrl(doc), doc, false},
        {fileUrl(doc + "/"), doc, false},
        {fileUrl(doc + "/sub"), doc, false},
        {fileUrl(doc + "/missing.png"), doc, false},
        {fileUrl(doc + "/fifo.png"), doc, false},
        {QUrl("file://otherhost" + doc + "/pic.png"), doc, false},
        {fileUrl(doc + "/pic.png"), doc + "/missing-folder", false},
        {QUrl("http://localhost/"), doc, false},
        {QUrl("data:text/html,<script>alert(1)</script>"), doc, false},
        {QUrl("data:image/svg+xml,<svg xmlns='http://www.w3.org/2000/svg'/>"), doc, false},
        {QUrl("data:,image/png"), doc, false},
        {QUrl("javascript:alert(1)"), doc, false},
        {QUrl("about:blank"), doc, false},
        {QUrl("pic.png"), doc, false},
        {QUrl(), doc, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPageUrlAllowed(c.url, c.folder), c.allowed) << qPrintable(c.url.toString() + " in " + c.folder);
}

TEST(UrlPolicy, ClickedLinks)
{
    const struct {
        const char* url;
        bool handedOut;
    } cases[] = {
        {"https://example.com/a?b#c", true},
        {"HTTPS://EXAMPLE.COM/", true},
        {"JavaScript:alert(1)", false},
        {"vbscript:msgbox(1)", false},
        {"smb://host/share", false},
        {"qrc:///html/css/bootstrap.css", false},
        {"http:///no-host", false},
        {"mailto:", false},
        {"other.md", false},
        {"#section", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsLinkHandedOut(QUrl(c.url)), c.handedOut) << c.url;
}
