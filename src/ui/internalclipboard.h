#pragma once

#include "library/folderkey.h"

#include <string>
#include <vector>

// The program's own cut and copy state, filled by the folder tree, the record list and the capture
// windows, and the text of moves last put on or found on the system clipboard. It lives for the
// run and is never saved; its items are positions in the collections.
struct InternalClipboard {
    enum Mode { empty = 0, copy = 1, cut = 2 };

    Mode mode = empty;
    int sourceCollection = -1;
    int sourceFolder = -1; // the folder that holds the items
    std::vector<ItemRef> items;
    std::string text; // CP932; may be empty

    // Forgets the items; the text stays.
    void reset()
    {
        mode = empty;
        sourceCollection = -1;
        sourceFolder = -1;
        items.clear();
    }
    bool holdsItems() const { return mode != empty && !items.empty(); }
    bool holdsItemsOrText() const { return holdsItems() || !text.empty(); }
};
