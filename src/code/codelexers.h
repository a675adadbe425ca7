#pragma once

class QFont;
class QsciLexer;

// The process-wide lexer per file type: built and styled on first use, never freed.
// Returns nullptr for a file type that is shown without colouring.
QsciLexer* LexerForSubType(int subType);

// The viewer's look on a lexer: the code font, white paper, dark text.
void StyleLexer(QsciLexer* lexer);

// "Consolas" where it exists, otherwise the system's fixed-pitch family, at the
// application's point size.
QFont CodeFont();
