#include "code/ccodewnd.h"
#include "code/linesplitter.h"
#include "core/settings.h"
#include "../viewerload.h"
#include "../writefile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>
#include <QThreadPool>
#include <QToolButton>
#include <QWheelEvent>
#include <Qsci/qsciscintilla.h>

namespace {

// Generous: a wait ends as soon as its condition holds; this only keeps a fault from hanging.
constexpr int kWait = 60000;

class CodeWndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
        SetSettingValue(SettingKey::TextLineNum, false);
        m_wnd.resize(900, 600);
        m_wnd.show();
        QApplication::processEvents(); // the control bar is built one turn after construction
    }

    QString Write(const QString& name, const QByteArray& bytes) { return WriteFile(m_dir.filePath(name), bytes); }

    bool Load(const QString& path) { return LoadInto(&m_wnd, path).loaded; }

    bool ReadToEnd()
    {
        return QTest::qWaitFor([&] { return Codecs()->isEnabled(); }, kWait);
    }
    QComboBox* Codecs() const { return m_wnd.findChild<QComboBox*>(); }
    QToolButton* FormatButton() const
    {
        for (QToolButton* b : m_wnd.findChildren<QToolButton*>())
            if (b->toolTip() == QLatin1String("Format Code"))
                return b;
        return nullptr;
    }
    QString Shown() const { return m_wnd.MainEditor()->text(); }

    QTemporaryDir m_dir;
    CCodeWnd m_wnd;
};

TEST_F(CodeWndTest, FilesAreShownWholeToTheEnd)
{
    const qint64 first = TextReader::kFirstPiece;
    for (const qint64 size : {qint64(0), qint64(100), first, first + 1, 2 * TextReader::kPiece + 3}) {
        QByteArray bytes(size, 'x');
        for (qint64 i = 80; i < size; i += 81)
            bytes[int(i)] = '\n';
        ASSERT_TRUE(Load(Write(QStringLiteral("f%1.txt").arg(size), bytes))) << size;
        ASSERT_TRUE(ReadToEnd()) << size;
        EXPECT_EQ(Shown().toUtf8(), bytes) << size;
        EXPECT_EQ(m_wnd.MainEditor()->lines(), bytes.count('\n') + 1) << size;
    }
}

// A line too long to lay out at once is shown broken, but copied and numbered as the file has it.
TEST_F(CodeWndTest, LongLinesAreCopiedAndNumberedAsTheFileHasThem)
{
    SetSettingValue(SettingKey::TextLineNum, true);
    const QByteArray text = "short\n" + QByteArray(20000, 'x') + "\nend";
    ASSERT_TRUE(Load(Write("long.txt", text)));
    ASSERT_TRUE(ReadToEnd());
    QsciScintilla* editor = m_wnd.MainEditor();
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toUtf8(), text);
    QStringList margin = {"1", "2"};
    for (int shown = LineSplitter::kShownLineLimit; shown < 20000; shown += LineSplitter::kShownLineLimit)
        margin << QString(); // the rest of the long line, broken for showing
    margin << "3";
    const auto marginText = [editor](int line) {
        char number[16] = {};
        editor->SendScintilla(QsciScintillaBase::SCI_MARGINGETTEXT, line, static_cast<void*>(number));
        return QString::fromLatin1(number);
    };
    const auto expectLinesInSight = [&] { // the margin numbers those only
        const auto docLine = [editor](long shown) {
            return int(
                editor->SendScintilla(QsciScintillaBase::SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(shown)));
        };
        const long top = editor->firstVisibleLine();
        const int last = docLine(top + long(editor->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN)) - 1);
        for (int line = docLine(top); line <= last && line < margin.size(); ++line)
            EXPECT_EQ(marginText(line), margin.at(line)) << line;
    };
    expectLinesInSight();
    QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return marginText(margin.size() - 1) == margin.last(); }, kWait))
        << "the last line is numbered once Ctrl+End brought it in sight";
    expectLinesInSight();
}

// Ctrl+End while a large file still comes in follows it to its real end.
TEST_F(CodeWndTest, CtrlEndWhileAFileComesInReachesItsLastLine)
{
    QByteArray bytes;
    for (int i = 0; bytes.size() < 40 * 1024 * 1024; ++i)
        bytes += "line " + QByteArray::number(i) + " of a log that is long enough\n";
    bytes += "the last line";
    ASSERT_TRUE(Load(Write("huge.log", bytes)));
    ASSERT_FALSE(Codecs()->isEnabled()) << "read before the key: the test shows nothing";
    // The first screen shows the lines come so far, each in a row of its own, before the rest is in.
    const long shownLast = m_wnd.MainEditor()->lines() - 1;
    EXPECT_EQ(m_wnd.MainEditor()->SendScintilla(QsciScintillaBase::SCI_VISIBLEFROMDOCLINE, shownLast), shownLast);
    QTest::keyClick(m_wnd.MainEditor(), Qt::Key_End, Qt::ControlModifier);
    ASSERT_TRUE(ReadToEnd());
    int line = -1, column = -1;
    m_wnd.MainEditor()->getCursorPosition(&line, &column);
    EXPECT_EQ(line, m_wnd.MainEditor()->lines() - 1);
    EXPECT_EQ(m_wnd.MainEditor()->text(line), QStringLiteral("the last line"));
}

TEST_F(CodeWndTest, AFileLeftShrunkOrRemovedWhileReadEndsItsReading)
{
    ASSERT_TRUE(Load(Write("big.log", QByteArray(200000, 'a'))));
    m_wnd.Clear();
    QApplication::processEvents();
    EXPECT_TRUE(m_wnd.MainEditor()->text().isEmpty());
    ASSERT_TRUE(Load(Write("small.log", "next")));
    QTest::qWait(500); // time for the old reading's pieces, had they been taken
    EXPECT_EQ(Shown(), QStringLiteral("next"));
    for (const bool remove : {false, true}) {
        const QString path = Write("going.log", QByteArray(100000, 'b'));
        ASSERT_TRUE(Load(path));
        if (remove)
            QFile::remove(path);
        else
            QFile(path).resize(10000);
        ASSERT_TRUE(ReadToEnd()) << remove;
        EXPECT_GE(Shown().size(), qMin<qint64>(10000, TextReader::kFirstPiece)) << remove;
    }
}

// A byte-order mark decides, else UTF-8 when it is that, else uchardet's guess; the box shows
// what was taken and still overrides it.
TEST_F(CodeWndTest, EncodingsAreMarkedOrGuessedAndTheBoxOverrides)
{
    const QString sample = QString::fromUtf8("naïve café 中文字符 日本語のテキスト");
    const struct {
        const char* codec;
        QString text;
        bool bom;
    } cases[] = {
        {"UTF-8", sample, false},
        {"UTF-16LE", sample, true},
        {"ISO-8859-1", QString::fromUtf8("Café crème brûlée, naïve façade à la française. Déjà vu, où est l'hôtel ?"),
         false},
        {"GBK", QString::fromUtf8("中文字符，简体。这是一个用于检测文字编码的例子，内容足够长，可以判断。"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codec);
        QTextCodec* codec = QTextCodec::codecForName(c.codec);
        ASSERT_NE(codec, nullptr);
        QTextCodec::ConverterState state(c.bom ? QTextCodec::DefaultConversion : QTextCodec::IgnoreHeader);
        const QByteArray bytes = codec->fromUnicode(c.text.constData(), c.text.size(), &state);
        ASSERT_TRUE(Load(Write(QStringLiteral("enc.txt"), bytes)));
        ASSERT_TRUE(ReadToEnd());
        EXPECT_EQ(Shown().toStdString(), c.text.toStdString());
        EXPECT_TRUE(c.bom || qstrcmp(c.codec, "UTF-8") == 0 || Codecs()->currentText() != "System") << "guessed";
        Codecs()->setCurrentText(QStringLiteral("UTF-32LE"));
        ASSERT_TRUE(ReadToEnd());
        // As the editor holds it: UTF-8, where a lone surrogate cannot be.
        EXPECT_EQ(Shown(), QString::fromUtf8(QTextCodec::codecForName("UTF-32LE")->toUnicode(bytes).toUtf8()));
    }
}

TEST_F(CodeWndTest, WhatCannotBeReadGoesToTheInformationPanel)
{
    const QString fifo = MakeFifo(m_dir.filePath("pipe.txt"));
    const QString locked = Write("locked.txt", "secret");
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    for (const QString& path : {fifo, locked, m_dir.filePath("missing.txt"), m_dir.path()}) {
        const bool failed = LoadInto(&m_wnd, path).failed; // a FIFO would block here, were it opened
        EXPECT_TRUE(failed || (path == locked && ::geteuid() == 0)) << path.toStdString(); // root reads it anyway
    }
}

// Binary is not wrapped: a screen of its control characters took 200 ms to wrap.
TEST_F(CodeWndTest, NulBytesAndBinaryAreShownWholeUnwrapped)
{
    SetSettingValue(SettingKey::TextWrap, true);
    QByteArray binary;
    for (int i = 0; i < 30000; ++i)
        binary.append(char((i * 7919) % 256));
    const QByteArray log = QByteArray(300, 'x') + "\t\x1b[31mred\x1b[0m\f\r\n" + QByteArray(1000, 'y');
    const struct {
        QByteArray bytes;
        bool wrapped;
    } cases[] = {{QByteArray("a\0b\0c", 5), false}, {binary, false}, {log, true}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Load(Write("bin.txt", c.bytes)));
        ASSERT_TRUE(ReadToEnd());
        EXPECT_GE(m_wnd.MainEditor()->length(), c.bytes.size());
        EXPECT_EQ(m_wnd.MainEditor()->wrapMode() != QsciScintilla::WrapNone, c.wrapped)
            << c.bytes.left(20).toHex().constData();
    }
}

// Formatting starts as soon as the first screen is shown and formats the whole file.
TEST_F(CodeWndTest, FormatCodeShowsThePrettyCopyOrWhereTheDocumentBroke)
{
    const QByteArray big = "[" + QByteArray("\"a b c d e f\",").repeated(20000) + "1]";
    const struct {
        const char* name;
        QByteArray text;
        bool button;      // the format button is offered
        QString starts;   // start of the formatted view, when offered
        QString ends;     // its end
        int line, column; // where the main editor's cursor is left, on failure
    } cases[] = {
        {"ok.json", R"({"a":[1,2]})", true, "{\n    \"a\": [", "    ]\n}\n", -1, -1},
        {"UPPER.JSON", R"({"a":1})", true, "{\n    \"a\": 1", "}\n", -1, -1},
        {"bad.json", "{\n  \"a\": 1,\n  \"b\" 2\n}", true, "Format failed.\n\nReason: ", "Column: 7", 2, 6},
        {"ok.xml", "<a><b>t</b></a>", true, "<a>\n    <b>t</b>\n</a>", "</a>\n", -1, -1},
        {"bad.xml", "<a>\n<b></a>", true, "Format failed.\n\nReason: ", "Column: 6", 1, 5},
        {"plain.txt", "{}", false, {}, {}, -1, -1},
        {"big.json", big, true, "[\n    \"a b c d e f\",", "    1\n]\n", -1, -1},
        {"one-line-bad.json", "[" + QByteArray("1,").repeated(5000) + "x]", true, "Format failed.", "Column: 10002",
         10001 / LineSplitter::kNeutralRowLimit, 10001 % LineSplitter::kNeutralRowLimit}, // a broken row, letterless
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Load(Write(QLatin1String(c.name), c.text)));
        QToolButton* button = FormatButton();
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(!button->isHidden(), c.button);
        if (!c.button)
            continue;
        EXPECT_TRUE(button->isEnabled());
        button->defaultAction()->trigger();
        EXPECT_TRUE(Codecs()->isHidden());
        QsciScintilla* view = m_wnd.FormattedView();
        EXPECT_TRUE(QTest::qWaitFor([&] { return view->text().endsWith(c.ends); }, kWait))
            << view->text().right(100).toStdString();
        EXPECT_TRUE(view->text().startsWith(c.starts)) << view->text().left(100).toStdString();
        ASSERT_TRUE(ReadToEnd());
        if (c.line >= 0) {
            int line = -1, column = -1;
            m_wnd.MainEditor()->getCursorPosition(&line, &column);
            EXPECT_EQ(line, c.line);
            EXPECT_EQ(column, c.column);
        }
        button->defaultAction()->trigger();
        EXPECT_TRUE(m_wnd.MainEditor()->isVisible());
        EXPECT_FALSE(Codecs()->isHidden());
    }
}

// Leaving the file or the formatted view abandons the formatting: its result never shows.
TEST_F(CodeWndTest, FormattingIsAbandonedWithItsFileOrView)
{
    const QByteArray big = "[" + QByteArray("{\"k\":[1,2,3]},").repeated(200000) + "1]";
    for (const bool leaveFile : {true, false}) {
        ASSERT_TRUE(Load(Write("big.json", big)));
        FormatButton()->defaultAction()->trigger();
        if (leaveFile)
            ASSERT_TRUE(Load(Write("next.xml", "<a/>")));
        else
            FormatButton()->defaultAction()->trigger();
        QThreadPool::globalInstance()->waitForDone();
        QApplication::processEvents();
        EXPECT_TRUE(m_wnd.MainEditor()->isVisible()) << leaveFile;
        EXPECT_EQ(m_wnd.FormattedView()->length(), 0) << leaveFile;
    }
}

TEST_F(CodeWndTest, CtrlWheelZoomsBothEditorsOtherWheelsGoOn)
{
    ASSERT_TRUE(Load(Write("z.json", "{}")));
    // The formatted view zooms only through the viewer, so its zoom tells whether the viewer took the wheel.
    const struct {
        Qt::KeyboardModifiers modifiers;
        int delta, zoom;
    } cases[] = {{Qt::ControlModifier, 120, 1},
                 {Qt::ControlModifier, 120, 2},
                 {Qt::ControlModifier, -120, 1},
                 {Qt::ControlModifier | Qt::ShiftModifier, 120, 1},
                 {Qt::NoModifier, -120, 1}};
    for (const auto& c : cases) {
        QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, c.delta), Qt::NoButton, c.modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_wnd.MainEditor()->viewport(), &wheel);
        EXPECT_EQ(m_wnd.FormattedView()->SendScintilla(QsciScintillaBase::SCI_GETZOOM), c.zoom);
        EXPECT_TRUE(c.modifiers != Qt::ControlModifier ||
                    m_wnd.MainEditor()->SendScintilla(QsciScintillaBase::SCI_GETZOOM) == c.zoom);
    }
}

} // namespace
