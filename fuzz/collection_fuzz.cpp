#include "records/collectionfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any bytes as a collection file: loading never fails harmfully, and what it keeps is consistent
// (every link points inside its table).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const OpeningBook book = [] {
        OpeningBook b;
        b.read("F5D6C3,a\nF5,b\n,c\n");
        return b;
    }();
    RecordCollection c;
    readCollection(std::string_view(reinterpret_cast<const char*>(data), size), c, book);
    for (size_t i = 0; i < c.folders.size(); ++i) {
        const RecordFolder& f = c.folders[i];
        if (i > 0 && (f.parent < 0 || size_t(f.parent) >= c.folders.size()))
            std::abort();
        for (int child : f.children) {
            if (child <= 0 || size_t(child) >= c.folders.size())
                std::abort();
        }
        for (int slot : f.records) {
            if (slot < 0 || size_t(slot) >= c.records.size())
                std::abort();
        }
    }
    for (const GameRecord& r : c.records) {
        if (r.folder < 0 || size_t(r.folder) >= c.folders.size() || r.blackPlayer < 0
            || r.blackPlayer >= c.names.size() || r.whitePlayer < 0
            || r.whitePlayer >= c.names.size() || r.opening < 0 || r.opening >= book.size())
            std::abort();
    }
    return 0;
}
