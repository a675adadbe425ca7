#include "code/codelexers.h"

#include "cglobaldata/csuffixtables.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <Qsci/qscilexerbash.h>
#include <Qsci/qscilexerbatch.h>
#include <Qsci/qscilexercmake.h>
#include <Qsci/qscilexercpp.h>
#include <Qsci/qscilexercsharp.h>
#include <Qsci/qscilexercss.h>
#include <Qsci/qscilexerdiff.h>
#include <Qsci/qscilexerfortran.h>
#include <Qsci/qscilexerfortran77.h>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qscilexerjava.h>
#include <Qsci/qscilexerjavascript.h>
#include <Qsci/qscilexerlua.h>
#include <Qsci/qscilexermatlab.h>
#include <Qsci/qscilexerperl.h>
#include <Qsci/qscilexerpython.h>
#include <Qsci/qscilexerruby.h>
#include <Qsci/qscilexersql.h>
#include <Qsci/qscilexertcl.h>
#include <Qsci/qscilexertex.h>
#include <Qsci/qscilexerxml.h>

#include <functional>

namespace {

QsciLexer* MakeLexer(int subType)
{
    static const QHash<int, std::function<QsciLexer*()>> makers{
        {ST_BASH, [] { return new QsciLexerBash; }},         {ST_BATCH, [] { return new QsciLexerBatch; }},
        {ST_MAKE, [] { return new QsciLexerCMake; }},        {ST_CSHARP, [] { return new QsciLexerCSharp; }},
        {ST_CPP, [] { return new QsciLexerCPP; }},           {ST_CSS, [] { return new QsciLexerCSS; }},
        {ST_DIFF, [] { return new QsciLexerDiff; }},         {ST_FORTRAN77, [] { return new QsciLexerFortran77; }},
        {ST_FORTRAN, [] { return new QsciLexerFortran; }},   {ST_HTML, [] { return new QsciLexerHTML; }},
        {ST_JAVA, [] { return new QsciLexerJava; }},         {ST_JAVASCRIPT, [] { return new QsciLexerJavaScript; }},
        {ST_LUA, [] { return new QsciLexerLua; }},           {ST_MATLAB, [] { return new QsciLexerMatlab; }},
        {ST_PERL, [] { return new QsciLexerPerl; }},         {ST_PYTHON, [] { return new QsciLexerPython; }},
        {ST_SQL, [] { return new QsciLexerSQL; }},           {ST_TCL, [] { return new QsciLexerTCL; }},
        {ST_TEX, [] { return new QsciLexerTeX; }},           {ST_RUBY, [] { return new QsciLexerRuby; }},
        {ST_XML, [] { return new QsciLexerXML; }},
    };
    const auto maker = makers.constFind(subType);
    return maker == makers.constEnd() ? nullptr : (*maker)();
}

// Events are processed between lexers so the window stays responsive; a load queued meanwhile
// finds the table still building and goes without colouring rather than re-entering it.
QHash<int, QsciLexer*>* BuildLexerTable()
{
    auto* table = new QHash<int, QsciLexer*>;
    for (int type = ST_BASH; type <= ST_XML; ++type) {
        QsciLexer* lexer = MakeLexer(type);
        StyleLexer(lexer);
        table->insert(type, lexer);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return table;
}

} // namespace

QFont CodeFont()
{
    QFont font(QStringLiteral("Consolas"), QApplication::font().pointSize());
    font.setStyleHint(QFont::Monospace);
    if (!QFontInfo(font).fixedPitch()) {
        font.setFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
        font.setPointSize(QApplication::font().pointSize());
    }
    return font;
}

void StyleLexer(QsciLexer* lexer)
{
    const QFont font = CodeFont();
    lexer->setPaper(QColor(Qt::white), -1);
    lexer->setDefaultPaper(QColor(Qt::white));
    lexer->setFont(font, -1);
    lexer->setDefaultFont(font);
    lexer->setDefaultColor(QColor(QStringLiteral("#333333")));
}

QsciLexer* LexerForSubType(int subType)
{
    static QHash<int, QsciLexer*>* table = nullptr;
    static bool building = false;
    if (!table && !building) {
        building = true;
        table = BuildLexerTable();
        building = false;
    }
    return table ? table->value(subType, nullptr) : nullptr;
}
