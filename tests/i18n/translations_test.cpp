// The translation files in the tree: complete, faithful to the texts they translate, in step
// with the code, compiled into the program and chosen by the locale.
#include "appsetup.h"
#include "../writefile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

struct Message {
    QString context;
    QString source;
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete" or empty
};

// Every message of a .ts file; an unreadable file fails the calling test.
QList<Message> ReadTs(const QString& path)
{
    QList<Message> out;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            out << Message{context, {}, {}, {}};
        } else if (xml.name() == QLatin1String("source") && !out.isEmpty()) {
            out.last().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation") && !out.isEmpty()) {
            out.last().type = xml.attributes().value(QStringLiteral("type")).toString();
            out.last().translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    EXPECT_FALSE(xml.hasError()) << qPrintable(path) << ": " << qPrintable(xml.errorString());
    return out;
}

const QDir kTsFolder(QStringLiteral(VUEL_SOURCE_DIR "/translations"));

// File names, which also name the test cases.
std::vector<std::string> TsFiles()
{
    std::vector<std::string> files;
    for (const QString& name : kTsFolder.entryList({QStringLiteral("vuel_*.ts")}, QDir::Files))
        files.push_back(name.toStdString());
    return files;
}

QString TsPath(const std::string& name) { return kTsFolder.filePath(QString::fromStdString(name)); }

// Group `group` of every match of `pattern`, in the text's order or sorted.
QStringList Matches(const QString& pattern, const QString& text, int group = 0, bool sorted = false)
{
    QStringList found;
    for (auto it = QRegularExpression(pattern).globalMatch(text); it.hasNext();)
        found << it.next().captured(group);
    if (sorted)
        found.sort();
    return found;
}

// "&S" marks a shortcut letter; "&&" is a plain "&" and "&amp;" an HTML entity.
int Accelerators(QString text)
{
    text.remove(QStringLiteral("&&"));
    text.remove(QRegularExpression(QStringLiteral("&#?\\w+;")));
    return text.count(QRegularExpression(QStringLiteral("&[^\\s]")));
}

// The blanks before and after the text.
QPair<QString, QString> Blanks(const QString& s)
{
    const QRegularExpression edges(QStringLiteral("^(\\s*).*?(\\s*)$"), QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = edges.match(s);
    return {m.captured(1), m.captured(2)};
}

class TsFileTest : public ::testing::TestWithParam<std::string>
{};

TEST_P(TsFileTest, EveryMessageIsTranslatedKeepingPlaceholdersShortcutsMarkupAndBlanks)
{
    const QList<Message> messages = ReadTs(TsPath(GetParam()));
    ASSERT_FALSE(messages.isEmpty());
    for (const Message& m : messages) {
        const QString what = m.context + " \"" + m.source + "\" -> \"" + m.translation + '"';
        EXPECT_TRUE(m.type.isEmpty()) << qPrintable(m.type) << ": " << qPrintable(what);
        EXPECT_FALSE(m.translation.trimmed().isEmpty()) << qPrintable(what);
        const QString placeholders = QStringLiteral("%L?(\\d{1,2})"), tags = QStringLiteral("<[^>]*>");
        EXPECT_EQ(Matches(placeholders, m.translation, 1, true), Matches(placeholders, m.source, 1, true))
            << qPrintable(what);
        EXPECT_EQ(Accelerators(m.translation), Accelerators(m.source)) << qPrintable(what);
        EXPECT_EQ(Matches(tags, m.translation), Matches(tags, m.source)) << qPrintable(what);
        EXPECT_EQ(m.translation.count(QLatin1Char('\n')), m.source.count(QLatin1Char('\n'))) << qPrintable(what);
        EXPECT_EQ(m.translation.count(QLatin1Char('\t')), m.source.count(QLatin1Char('\t'))) << qPrintable(what);
        EXPECT_EQ(Blanks(m.translation), Blanks(m.source)) << qPrintable(what);
    }
}

// A text added to the code without scripts/update-translations would show in English.
TEST_P(TsFileTest, HoldsExactlyTheTextsOfTheCode)
{
    const QString lupdate = QStringLiteral("/usr/lib/qt5/bin/lupdate");
    if (!QFile::exists(lupdate))
        GTEST_SKIP() << "no lupdate (qttools5-dev-tools)";
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("fresh.ts"));
    const Finished run = RunToEnd(lupdate, {"-silent", "-locations", "none", "src", "helper", "-ts", fresh},
                                  QStringLiteral(VUEL_SOURCE_DIR));
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    auto keys = [](const QList<Message>& messages) {
        QSet<QString> set;
        for (const Message& m : messages)
            set << m.context + QLatin1Char('|') + m.source;
        return set;
    };
    const QSet<QString> inCode = keys(ReadTs(fresh));
    const QSet<QString> inTree = keys(ReadTs(TsPath(GetParam())));
    for (const QString& key : inCode - inTree)
        ADD_FAILURE() << "not in the .ts: " << qPrintable(key);
    for (const QString& key : inTree - inCode)
        ADD_FAILURE() << "no longer in the code: " << qPrintable(key);
}

INSTANTIATE_TEST_SUITE_P(Tree, TsFileTest, ::testing::ValuesIn(TsFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param.substr(0, info.param.find('.'));
                         });

class TranslatorsTest : public ::testing::Test
{
protected:
    void TearDown() override { qDeleteAll(qApp->findChildren<QTranslator*>()); }
};

TEST_F(TranslatorsTest, TheLocalePicksTheTranslation)
{
    const struct {
        const char* locale;
        bool translated;
        const char* settings; // the tray menu's "&Settings" as the user reads it
    } cases[] = {{"zh_CN", true, "设置(&S)"},
                 {"en_US", false, "&Settings"},
                 {"C", false, "&Settings"},
                 {"zh_TW", false, "&Settings"}}; // Traditional Chinese readers are not given Simplified
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        TearDown(); // the translators of the case before go
        EXPECT_EQ(InstallTranslations(*qApp, QLocale(QString::fromLatin1(c.locale))), c.translated);
        EXPECT_EQ(QCoreApplication::translate("CSystemTrayIcon", "&Settings"), QString::fromUtf8(c.settings));
        // The settings store and the temporary folder are named by it.
        EXPECT_EQ(QCoreApplication::translate("main", "Vuel"), QStringLiteral("Vuel"));
    }
}

TEST_F(TranslatorsTest, QtsOwnTextsFollowWhenTheSystemHasThem)
{
    const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(folder + QStringLiteral("/qtbase_zh_CN.qm")))
        GTEST_SKIP() << "no qtbase_zh_CN.qm (qttranslations5-l10n)";
    InstallTranslations(*qApp, QLocale(QStringLiteral("zh_CN")));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString::fromUtf8("是(&Y)"));
}

} // namespace
