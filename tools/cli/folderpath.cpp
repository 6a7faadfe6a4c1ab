#include "folderpath.h"

#include "library/collectiontree.h"
#include "text/cp932.h"

#include <algorithm>
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
