#pragma once

#include <QString>

class LibraryPrompter;

// Whether a name typed into a label editor can be stored: a character code page 932 cannot hold
// would be saved as "?", so such a name is refused with a message naming the characters.
bool typedNameFits(const QString& text, LibraryPrompter& prompter);
