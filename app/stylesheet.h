#ifndef LUMENO_STYLESHEET_H
#define LUMENO_STYLESHEET_H

#include <QString>

// Expands the variables of a style sheet. A variable is defined by a line
//     $name = "value"
// (name of letters, digits, '_' and '-'; the value may be empty but holds no
// double quote; blanks and line breaks may surround '='; the definition must
// be followed by a line break, optionally after blanks, so a CRLF line end is
// accepted but a definition on the very last line without one is not), and
// used as %name% anywhere in the text.
//
// Definitions are applied in text order, each replacing every placeholder of
// its name (case sensitive) in the text as left by the previous ones: the
// first of two definitions of a name wins, and placeholders without a
// definition stay as they are. The definitions themselves remain in the text;
// the sheet keeps them inside a comment.
QString expandStyleSheetVariables(const QString &text);

#endif
