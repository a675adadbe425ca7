#pragma once

class QFont;
class QString;
class QsciLexer;

// The process-wide lexer per file type: built and styled on first use, never freed.
// Returns nullptr for a file type that is shown without colouring.
QsciLexer* LexerForSubType(int subType);

// The process-wide lexer of a name from the content-type table ("yaml", "go", …), built on first
// use; nullptr for a name without one.
QsciLexer* LexerForName(const QString& name);

// The viewer's look on a lexer: the code font, white paper, dark text.
void StyleLexer(QsciLexer* lexer);

// "Consolas" where it exists, otherwise the system's fixed-pitch family, at the
// application's point size.
QFont CodeFont();
