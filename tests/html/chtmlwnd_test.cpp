#include "html/chtmlwnd.h"
#include "htmltestutil.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QWebElement>
#include <QWebFrame>
#include <QWebView>

#include <gtest/gtest.h>

namespace {

int CountPixels(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    return n;
}

// The whole page, also what lies below the view.
QImage Picture(CHtmlWnd& wnd)
{
    QWebFrame* frame = wnd.View()->page()->mainFrame();
    wnd.View()->page()->setViewportSize(frame->contentsSize());
    QImage image = Solid(Qt::white, frame->contentsSize());
    QPainter painter(&image);
    frame->render(&painter);
    return image;
}

class UrlCatcher : public QObject
{
    Q_OBJECT
public slots:
    void Open(const QUrl& url) { opened << url.toString(); }

public:
    QStringList opened;
};

} // namespace

TEST_F(HtmlWnd, HostilePageReachesNothing)
{
    QTcpServer server; // a page that reaches the network shows up here
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    int connections = 0;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* s = server.nextPendingConnection()) {
            ++connections;
            s->deleteLater();
        }
    });
    const QByteArray net = "http://127.0.0.1:" + QByteArray::number(server.serverPort());
    const QByteArray secret = dir.toUtf8() + "/secret.png";
    QByteArray page = R"html(<img id=ok src='file://DIR/doc/red.png'><base href='NET/base/'>
<meta http-equiv='refresh' content='0;url=NET/refresh'><link rel=stylesheet href='NET/s.css'>
<link rel=prefetch href='NET/prefetch'>
<style>@import url('NET/import.css'); p { background: url('NET/bg.png'); }</style>
<script>document.title = 'ran'; new Image().src = 'NET/script';</script><script src='NET/s.js'></script>
<p>text</p><img src=nowhere onerror="document.title = 'ran'"><img src='NET/img.png'>
<img src='//127.0.0.1:PORT/relative-scheme.png'><img src='relative.png'>
<iframe src='NET/frame'></iframe><iframe src='file:///etc/passwd'></iframe>
<object data='NET/object'></object><embed src='NET/embed'>
<video src='NET/video' autoplay></video><audio src='NET/audio' autoplay></audio>
<input type=image src='NET/input.png'><div style="background:url('NET/div.png')">d</div>
<svg><image href='NET/svg.png' width=10 height=10 /></svg>
<form id=f action='NET/form'></form><script>document.getElementById('f').submit()</script>
<img src='file:///etc/passwd'><img src='file://DIR/doc/../secret.png'>
<img src='file://DIR/secret.png'><img src='file://DIR/doc/link-out.png'>)html";
    WriteFile(
        dir + "/doc/hostile.md",
        page.replace("NET", net).replace("PORT", QByteArray::number(server.serverPort())).replace("DIR", dir.toUtf8()));
    auto wnd = Viewer(WriteScript(dir + "/md", "cat \"$1\""));
    static QStringList refusals; // the access manager's debug lines
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
            if (m.startsWith("page request refused"))
                refusals << m;
        });
    const Shown outcome = Show(*wnd, dir + "/doc/hostile.md");
    qInstallMessageHandler(previous);

    EXPECT_EQ(outcome.loaded, 1);
    EXPECT_EQ(outcome.errors, 0);
    EXPECT_EQ(connections, 0) << "the page reached the network";
    EXPECT_NE(wnd->View()->title(), "ran") << "a script of the document ran";
    EXPECT_FALSE(wnd->View()->page()->mainFrame()->findFirstElement("#ok").isNull()) << "the page was replaced";
    // The files outside the folder were asked for, and refused here.
    const QString refused = refusals.join('\n');
    EXPECT_TRUE(refused.contains("file:///etc/passwd")) << refused.toStdString();
    EXPECT_TRUE(refused.contains(secret)) << refused.toStdString();
    const QImage picture = Picture(*wnd);
    EXPECT_GE(CountPixels(picture, qRgb(255, 0, 0)), 40 * 40) << "the picture in the folder is missing";
    EXPECT_EQ(CountPixels(picture, qRgb(0, 0, 255)), 0) << "a picture outside the folder was read";
    // The access manager itself refuses the network, whatever the page's rules.
    QNetworkReply* reply = wnd->View()->page()->networkAccessManager()->get(QNetworkRequest(QUrl(net + "/direct")));
    QSignalSpy done(reply, &QNetworkReply::finished);
    if (!reply->isFinished())
        done.wait(60000);
    EXPECT_NE(reply->error(), QNetworkReply::NoError);
    EXPECT_TRUE(reply->readAll().isEmpty());
    QTest::qWait(200);
    EXPECT_EQ(connections, 0);
    reply->deleteLater();
}

// A converter ended because the user went on to another file, or closed the preview, is no failure.
TEST_F(HtmlWnd, GivenUpLoadsStaySilent)
{
    WriteFile(dir + "/doc/slow.md", "<p>slow</p>");
    WriteFile(dir + "/doc/fast.md", "<p>fast</p>");
    auto wnd = Viewer(WriteScript(dir + "/md", "case \"$1\" in *slow*) exec sleep 300;; esac; cat \"$1\""));
    QSignalSpy loaded(wnd.get(), &CAbstractWnd::SigLoaded);
    QSignalSpy errors(wnd.get(), &CAbstractWnd::SigErr);
    SetCurrentMarkdown(dir + "/doc/slow.md");
    wnd->StartLoading();
    QTest::qWait(300); // the slow converter runs
    const Shown outcome = Show(*wnd, dir + "/doc/fast.md");
    EXPECT_EQ(outcome.loaded, 1);
    EXPECT_EQ(outcome.errors, 0);
    EXPECT_TRUE(wnd->View()->page()->mainFrame()->toPlainText().contains("fast"));

    SetCurrentMarkdown(dir + "/doc/slow.md");
    wnd->StartLoading();
    QTest::qWait(300);
    wnd->hide();
    QTest::qWait(300);
    EXPECT_EQ(errors.count(), 0);
    EXPECT_EQ(loaded.count(), 1);
}

TEST_F(HtmlWnd, ALongPageShowsItsStartThenFillsInWholeAndCtrlCCopiesIt)
{
    QString doc;
    for (int i = 0; i < 400; ++i)
        doc += QStringLiteral("<h2>Part %1</h2>\n<p>%2</p>\n").arg(i).arg(QString(60, QLatin1Char('w')));
    WriteFile(dir + "/doc/long.md", doc.toUtf8());
    auto wnd = Viewer(WriteScript(dir + "/md", "cat \"$1\""));
    ASSERT_EQ(Show(*wnd, dir + "/doc/long.md").loaded, 1);
    QWebFrame* frame = wnd->View()->page()->mainFrame();
    EXPECT_TRUE(QTest::qWaitFor([frame] { return frame->toPlainText().contains("Part 399"); }, 5000));
    const QString text = frame->toPlainText();
    EXPECT_EQ(text.count("Part "), 400) << "a piece shown twice or lost";
    EXPECT_LT(text.indexOf("Part 10\n"), text.indexOf("Part 11\n")) << "pieces out of order";
    wnd->View()->page()->triggerAction(QWebPage::SelectAll);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, "c");
    QApplication::sendEvent(wnd.get(), &press);
    EXPECT_TRUE(press.isAccepted());
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("Part 0\n")) << "not copied";
}

// The converter's first blocks are on show while it still converts; the whole page then continues
// them, or takes their place when it starts otherwise.
TEST_F(HtmlWnd, FirstBlocksShowBeforeTheConversionEnds)
{
    const struct {
        const char* then;
        const char* shown;
    } cases[] = {
        {"<p>two</p>", "one two"},
        {"<!--vuel:whole-->\n<p>other</p>", "other"},
    };
    for (const auto& c : cases) {
        WriteFile(dir + "/doc/long.md", "");
        QFile::remove(dir + "/go");
        const QByteArray script = "printf '<!--vuel:first-->\\n<p>one</p>\\n<!--vuel:then-->\\n'; "
                                  "while [ ! -e \"$(dirname \"$0\")/go\" ]; do sleep 0.05; done; printf '%s' '" +
                                  QByteArray(c.then) + "'";
        auto wnd = Viewer(WriteScript(dir + "/md", script));
        QSignalSpy loaded(wnd.get(), &CAbstractWnd::SigLoaded);
        QSignalSpy errors(wnd.get(), &CAbstractWnd::SigErr);
        SetCurrentMarkdown(dir + "/doc/long.md");
        wnd->StartLoading();
        EXPECT_TRUE(QTest::qWaitFor([&loaded] { return !loaded.isEmpty(); }, 60000));
        ASSERT_EQ(loaded.count(), 1) << c.then;
        QWebFrame* frame = wnd->View()->page()->mainFrame();
        EXPECT_EQ(frame->toPlainText().simplified(), "one") << c.then;

        WriteFile(dir + "/go", "");
        EXPECT_TRUE(QTest::qWaitFor([&] { return frame->toPlainText().simplified() == c.shown; }, 60000));
        EXPECT_EQ(frame->toPlainText().simplified(), c.shown);
        QTest::qWait(300);
        EXPECT_EQ(loaded.count(), 1) << c.then;
        EXPECT_EQ(errors.count(), 0) << c.then;
    }
}

// The page's style sheet keeps only Bootstrap's rules that can match a converted page: the page
// looks as it does under Bootstrap whole (here after it, so that its rules win where both have one).
TEST_F(HtmlWnd, PageLooksAsUnderBootstrapWhole)
{
    QFile bootstrap(VUEL_BOOTSTRAP_CSS);
    ASSERT_TRUE(bootstrap.open(QIODevice::ReadOnly));
    QByteArray body = R"html(<h1>Title</h1><h2>Part</h2><h3>Small</h3><h4>4</h4><h5>5</h5><h6>6</h6>
<p>Some <em>emphasis</em>, <strong>strong</strong>, <code>code</code>, <del>struck</del> and
<a href="https://example.org">a link</a>.<br />Next line <img src="file://DIR/doc/red.png" alt="red" /></p>
<ul><li>one<ul><li>nested</li></ul></li><li><input type="checkbox" checked="" disabled="" /> done</li></ul>
<ol start="3"><li><p>loose</p></li><li><p>items</p></li></ol>
<table><thead><tr><th align="left">a</th><th align="center">b</th><th align="right">c</th></tr></thead>
<tbody><tr><td>1</td><td>2</td><td>3</td></tr><tr><td>4</td><td>5</td><td>6</td></tr></tbody></table>
<pre><code class="language-cpp">int main() { return 0; }
</code></pre><blockquote><p>Quoted</p></blockquote><hr /><dl><dt>t</dt><dd>d</dd></dl>
<p class="alert alert-warning">This page is too large to show whole; showing the first part.</p>)html";
    body.replace("DIR", dir.toUtf8());
    WriteFile(dir + "/doc/ours.md", body);
    WriteFile(dir + "/doc/whole.md", "<style>" + bootstrap.readAll() + "</style>" + body);
    auto wnd = Viewer(WriteScript(dir + "/md", "cat \"$1\""));
    ASSERT_EQ(Show(*wnd, dir + "/doc/ours.md").loaded, 1);
    const QImage ours = Picture(*wnd);
    ASSERT_EQ(Show(*wnd, dir + "/doc/whole.md").loaded, 1);
    EXPECT_TRUE(Picture(*wnd) == ours) << "the page's look changed";
    EXPECT_GE(CountPixels(ours, qRgb(255, 0, 0)), 40 * 40);
}

TEST_F(HtmlWnd, LinksOpenOutsideAndThePageStays)
{
    WriteFile(dir + "/doc/links.md", "<p><a id=web href='http://127.0.0.1:1/page'>web</a></p>"
                                     "<p><a id=mail href='mailto:someone@example.com'>mail</a></p>"
                                     "<p><a id=js href=\"javascript:document.title='ran'\">js</a></p>"
                                     "<p><a id=file href='file:///etc/passwd'>file</a></p>"
                                     "<p><a id=data href='data:text/html,x'>data</a></p>"
                                     "<p><a id=ftp href='ftp://127.0.0.1/x'>ftp</a></p>");
    auto wnd = Viewer(WriteScript(dir + "/md", "cat \"$1\""));
    ASSERT_EQ(Show(*wnd, dir + "/doc/links.md").loaded, 1);
    UrlCatcher catcher;
    const QStringList schemes = {"http", "https", "mailto", "javascript", "file", "data", "ftp"};
    for (const QString& scheme : schemes)
        QDesktopServices::setUrlHandler(scheme, &catcher, "Open");
    QWebFrame* frame = wnd->View()->page()->mainFrame();
    const QString before = frame->toHtml();
    for (const char* id : {"web", "mail", "js", "file", "data", "ftp"}) {
        const QWebElement link = frame->findFirstElement(QString("#") + id);
        ASSERT_FALSE(link.isNull()) << id;
        QTest::mouseClick(wnd->View(), Qt::LeftButton, {}, link.geometry().center());
        QTest::qWait(100);
    }
    for (const QString& scheme : schemes)
        QDesktopServices::unsetUrlHandler(scheme);
    EXPECT_EQ(catcher.opened, QStringList({"http://127.0.0.1:1/page", "mailto:someone@example.com"}));
    EXPECT_EQ(frame->toHtml(), before);
    EXPECT_NE(wnd->View()->title(), "ran");
}

#include "chtmlwnd_test.moc"
