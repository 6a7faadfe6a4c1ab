#include "ui/typedname.h"

#include "library/libraryprompter.h"
#include "library/textformat.h"
#include "platform/sjis.h"
#include "text/texts.h"

bool typedNameFits(const QString& text, LibraryPrompter& prompter)
{
    const std::string missing = charactersNotInSjis(text);
    if (missing.empty())
        return true;
    prompter.showError(
        texts::renameErrorTitle.bytes(), formatText(texts::nameNotInCodePage.bytes(), { missing }));
    return false;
}
