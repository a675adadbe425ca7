#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// Viewer kinds.
enum MainType {
    MT_UNKNOWN = 0,
    MT_MARKDOWN = 1,
    MT_PICTURE = 2,
    MT_MEDIA = 3,
    MT_DIR = 4,
    MT_DOCUMENT = 5,
    MT_TEXT = 6,
    MT_FONT = 7, // by content type only: the suffix tables name no fonts
};

// File types: they pick a lexer, a lister or a picture decoder.
enum SubType {
    ST_UNKNOWN = 0,
    ST_VIDEO,
    ST_AUDIO,
    ST_ANIMATION,
    ST_PSD,
    ST_PICTURE,
    ST_MARKDOWN,
    ST_BASH,
    ST_BATCH,
    ST_MAKE,
    ST_CSHARP,
    ST_CPP,
    ST_CSS,
    ST_DIFF,
    ST_FORTRAN77,
    ST_FORTRAN,
    ST_HTML,
    ST_JAVA,
    ST_JAVASCRIPT,
    ST_LUA,
    ST_MATLAB,
    ST_PERL,
    ST_PYTHON,
    ST_SQL,
    ST_TCL,
    ST_TEX,
    ST_RUBY,
    ST_XML,
    ST_PLAIN_TEXT,
    ST_RAR,
    ST_ARCHIVE,
    ST_DIR,
    ST_PDF,
    ST_OFFICE,
    ST_FONT,
};

const char* MainTypeName(int mainType);

// The suffix vocabulary. Built from the fixed lists, the toolkit's picture formats and the
// "office_support" and "text_support" settings as they are at construction.
class CSuffixTables
{
public:
    CSuffixTables();

    // The kinds of a path whose being a folder is known: the file system is not asked.
    int GetMainType(const QString& path, bool folder) const;
    int GetSubType(const QString& path, bool folder) const;

    QStringList SuffixesOf(int subType) const { return m_bySubType.value(subType); }
    QStringList SuffixesOfKind(int mainType) const { return m_byMainType.value(mainType); }

private:
    QMap<int, QStringList> m_bySubType;
    QMap<int, QStringList> m_byMainType;
};
