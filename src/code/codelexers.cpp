#include "code/codelexers.h"

#include "cglobaldata/csuffixtables.h"
#include "code/keywordcpplexer.h"

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
#include <Qsci/qscilexermakefile.h>
#include <Qsci/qscilexermatlab.h>
#include <Qsci/qscilexerperl.h>
#include <Qsci/qscilexerproperties.h>
#include <Qsci/qscilexerpython.h>
#include <Qsci/qscilexerruby.h>
#include <Qsci/qscilexersql.h>
#include <Qsci/qscilexertcl.h>
#include <Qsci/qscilexertex.h>
#include <Qsci/qscilexerxml.h>
#include <Qsci/qscilexeryaml.h>

#include <functional>

namespace {

QsciLexer* MakeLexer(int subType)
{
    static const QHash<int, std::function<QsciLexer*()>> makers{
        {ST_BASH, [] { return new QsciLexerBash; }},       {ST_BATCH, [] { return new QsciLexerBatch; }},
        {ST_MAKE, [] { return new QsciLexerCMake; }},      {ST_CSHARP, [] { return new QsciLexerCSharp; }},
        {ST_CPP, [] { return new QsciLexerCPP; }},         {ST_CSS, [] { return new QsciLexerCSS; }},
        {ST_DIFF, [] { return new QsciLexerDiff; }},       {ST_FORTRAN77, [] { return new QsciLexerFortran77; }},
        {ST_FORTRAN, [] { return new QsciLexerFortran; }}, {ST_HTML, [] { return new QsciLexerHTML; }},
        {ST_JAVA, [] { return new QsciLexerJava; }},       {ST_JAVASCRIPT, [] { return new QsciLexerJavaScript; }},
        {ST_LUA, [] { return new QsciLexerLua; }},         {ST_MATLAB, [] { return new QsciLexerMatlab; }},
        {ST_PERL, [] { return new QsciLexerPerl; }},       {ST_PYTHON, [] { return new QsciLexerPython; }},
        {ST_SQL, [] { return new QsciLexerSQL; }},         {ST_TCL, [] { return new QsciLexerTCL; }},
        {ST_TEX, [] { return new QsciLexerTeX; }},         {ST_RUBY, [] { return new QsciLexerRuby; }},
        {ST_XML, [] { return new QsciLexerXML; }},
    };
    const auto maker = makers.constFind(subType);
    return maker == makers.constEnd() ? nullptr : (*maker)();
}

QsciLexer* MakeNamedLexer(const QString& name)
{
    static const QHash<QString, std::function<QsciLexer*()>> makers{
        {"makefile", [] { return new QsciLexerMakefile; }},
        {"yaml", [] { return new QsciLexerYAML; }},
        {"properties", [] { return new QsciLexerProperties; }},
        {"go",
         [] {
             return new KeywordCppLexer(
                 "Go",
                 "break case chan const continue default defer else fallthrough for func go goto if import interface "
                 "map package range return select struct switch type var nil true false iota",
                 "bool byte complex64 complex128 error float32 float64 int int8 int16 int32 int64 rune string uint "
                 "uint8 uint16 uint32 uint64 uintptr any");
         }},
        {"rust",
         [] {
             return new KeywordCppLexer(
                 "Rust",
                 "as async await break const continue crate dyn else enum extern false fn for if impl in let loop "
                 "match mod move mut pub ref return self Self static struct super trait true type unsafe use where "
                 "while",
                 "bool char str i8 i16 i32 i64 i128 isize u8 u16 u32 u64 u128 usize f32 f64 String Vec Option Result "
                 "Box Some None Ok Err");
         }},
        {"typescript",
         [] {
             return new KeywordCppLexer(
                 "TypeScript",
                 "abstract as async await break case catch class const continue debugger declare default delete do "
                 "else enum export extends false finally for from function get if implements import in instanceof "
                 "interface keyof let namespace new null of private protected public readonly return set static "
                 "super switch this throw true try type typeof undefined var void while yield",
                 "any boolean never number object string symbol unknown bigint Array Promise Record");
         }},
        {"kotlin",
         [] {
             return new KeywordCppLexer(
                 "Kotlin",
                 "as break class continue do else false for fun if in interface is null object package return super "
                 "this throw true try typealias typeof val var when while by companion data enum override private "
                 "protected public internal sealed suspend import",
                 "Any Boolean Byte Char Double Float Int Long Nothing Short String Unit List Map Set Array");
         }},
        {"swift",
         [] {
             return new KeywordCppLexer(
                 "Swift",
                 "associatedtype class deinit enum extension fileprivate func import init inout internal let open "
                 "operator private protocol public rethrows static struct subscript typealias var break case continue "
                 "default defer do else fallthrough for guard if in repeat return switch where while as catch false "
                 "is nil self Self super throw throws true try async await",
                 "Any Bool Character Double Float Int String Array Dictionary Set Optional Void");
         }},
        {"dart",
         [] {
             return new KeywordCppLexer(
                 "Dart",
                 "abstract as assert async await break case catch class const continue default deferred do dynamic "
                 "else enum export extends extension external factory false final finally for get if implements "
                 "import in is late library mixin new null on operator part required rethrow return set show static "
                 "super switch sync this throw true try typedef var void while with yield",
                 "bool double int num String List Map Set Future Stream Object dynamic");
         }},
    };
    const auto maker = makers.constFind(name);
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

QsciLexer* LexerForName(const QString& name)
{
    static QHash<QString, QsciLexer*> table;
    auto found = table.constFind(name);
    if (found != table.constEnd())
        return *found;
    QsciLexer* lexer = MakeNamedLexer(name);
    if (lexer)
        StyleLexer(lexer);
    table.insert(name, lexer);
    return lexer;
}
