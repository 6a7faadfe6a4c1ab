#pragma once

#include <string_view>

class QPlainTextEdit;

// The transcripts of the chat pane and the chat windows: text goes in at the end, with the caret
// put there and the view scrolled to it, whatever the user had selected or scrolled to.
namespace transcript {

// Gives the edit the transcripts' look: black text on white, wrapped at the edge, a vertical
// scroll bar always shown.
void setUp(QPlainTextEdit& edit);

// Inserts CP932 text at the end. Its CR LF line ends become the edit's own line breaks.
void append(QPlainTextEdit& edit, std::string_view cp932Text);
// The edit's line count as a multi-line edit counts it: the lines of the text, and one more,
// empty, after a final line break.
int lineCount(const QPlainTextEdit& edit);
// Deletes the oldest lines, from the start up to the start of line first (counting from 0), and
// puts the caret at the end again.
void dropLinesBefore(QPlainTextEdit& edit, int first);

} // namespace transcript
