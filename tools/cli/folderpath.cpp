#include "folderpath.h"

#include "library/collectiontree.h"
#include "records/collectionfile.h"
#include "records/openingbook.h"
#include "text/cp932.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <type_traits>

namespace {

// Walks the path's names from the root; missing folders are made when the tree may be changed.
template <typename Tree> int walk(Tree& tree, std::string_view utf8Path, int32_t created)
{
    if (tree.folderCount() == 0)
        return -1;
    int folder = 0;
    while (!utf8Path.empty() && folder >= 0) {
        const size_t end = std::min(utf8Path.find('\\'), utf8Path.size());
        if (end > 0) {
            const std::string name = cp932::fromUtf8(utf8Path.substr(0, end));
            int child = tree.findChild(folder, name);
            if constexpr (!std::is_const_v<Tree>) {
                if (child < 0)
                    child = tree.addFolder(folder, name, created);
            }
            folder = child;
        }
        utf8Path.remove_prefix(std::min(end + 1, utf8Path.size()));
    }
    return folder;
}

} // namespace

int folderAt(const CollectionTree& tree, std::string_view utf8Path)
{
    return walk(tree, utf8Path, 0);
}

int ensureFolderAt(CollectionTree& tree, std::string_view utf8Path, int32_t created)
{
    return walk(tree, utf8Path, created);
}

int loadFolderAt(const std::string& file, std::string_view utf8Path, CollectionTree& tree)
{
    RecordCollection collection;
    if (loadCollection(file, collection, OpeningBook {}) != 0) {
        std::fprintf(stderr, "pavione-cli: %s does not load as a collection file\n", file.c_str());
        return -1;
    }
    tree.adopt(std::move(collection));
    const int folder = folderAt(tree, utf8Path);
    if (folder < 0)
        std::fprintf(stderr, "pavione-cli: %s has no folder %.*s\n", file.c_str(),
            int(utf8Path.size()), utf8Path.data());
    return folder;
}
