#pragma once

#include <QString>
#include <QStringList>

// What a file's content type makes of it, for a file the suffix tables do not know.
struct ContentKind {
    int mainType = 0; // MT_…
    int subType = 0;  // ST_…
    QString lexer;    // a lexer beyond the file types' own ("yaml", "go", …); empty: the file type's own
};

// `chain` is the MIME type by name and content followed by its ancestors, nearest first;
// `suffix` picks among kinds that share a type (".conf" and ".bashrc" are both plain text).
ContentKind KindOfContentType(const QStringList& chain, const QString& suffix);

// The suffixes of the office documents that only their content type makes documents: shown in
// the settings beside the suffix tables' own.
QStringList OfficeSuffixesByContent();
