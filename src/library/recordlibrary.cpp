#include "library/recordlibrary.h"

#include "records/collectionfile.h"
#include "records/openingbook.h"
#include "text/texts.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace {

// Keeps an unreadable collection file under the first free name of path.bad, path.bad2, …; the
// kept file's path, or empty when none could be made. A second name for the same file comes
// first: it costs neither time nor room however large the file, and stays as it is because saves
// put a new file in place rather than writing into the old one. Where the file system has no
// second names, the file is copied.
std::string keepCopy(const std::string& path)
{
    namespace fs = std::filesystem;
    for (int n = 1; n <= 1000; ++n) {
        const std::string candidate = path + ".bad" + (n == 1 ? std::string() : std::to_string(n));
        std::error_code error;
        if (fs::exists(candidate, error) || error)
            continue;
        // Neither a link nor copy_file without overwrite takes a name that appeared meanwhile.
        fs::create_hard_link(path, candidate, error);
        if (!error)
            return candidate;
        error.clear();
        if (fs::copy_file(path, candidate, fs::copy_options::none, error))
            return candidate;
        if (!fs::exists(candidate))
            return {};
    }
    return {};
}

// Whether a file held back at start may now be written over: it is gone (the user moved it away,
// and nothing needs keeping), or whatever stands there now could be kept beside it (that name).
std::optional<std::string> keptForWriting(const std::string& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return std::string();
    if (error)
        return std::nullopt;
    std::string kept = keepCopy(path);
    return kept.empty() ? std::nullopt : std::optional<std::string>(std::move(kept));
}

} // namespace

RecordLibrary::RecordLibrary()
    : m_openingBook(std::make_unique<OpeningBook>())
{ }

RecordLibrary::~RecordLibrary() = default;

std::string RecordLibrary::fileNameOf(int collection)
{
    switch (collection) {
    case myRecordsCollection:
        return texts::privateFileName.bytes();
    case yahooCollection:
        return texts::yahooFileName.bytes();
    case trashCollection:
        return texts::trashFileName.bytes();
    default:
        return {};
    }
}

std::string RecordLibrary::filePath(const std::string& fileName) const
{
    return m_dataDirectory + fileName;
}

void RecordLibrary::nameOpening(GameRecord& record) const
{
    record.opening = static_cast<int16_t>(m_openingBook->lookup(record.moves));
}

LibraryLoadReport RecordLibrary::load(
    const std::string& dataDirectory, int32_t installed, std::string_view builtInOpenings)
{
    LibraryLoadReport report;
    m_dataDirectory = dataDirectory;
    m_collections[myRecordsCollection].setDisplayName(texts::myRecordsRoot.bytes());
    m_collections[networkCollection].setDisplayName(texts::networkRoot.bytes());
    m_collections[trashCollection].setDisplayName(texts::trashRoot.bytes());

    if (m_openingBook->load(filePath(texts::openingFileName.bytes())) == 0)
        m_openingBook->read(builtInOpenings);

    struct Stored {
        int collection;
        const FixedText& rootName;
    };
    for (const Stored& stored : { Stored { myRecordsCollection, texts::myRecordsRoot },
             Stored { yahooCollection, texts::yahooRoot },
             Stored { trashCollection, texts::trashRoot } }) {
        const std::string path = filePath(fileNameOf(stored.collection));
        RecordCollection data;
        if (loadCollection(path, data, *m_openingBook) != 0) {
            std::error_code error;
            if (std::filesystem::exists(path, error)) {
                report.unreadableFiles.push_back(path);
                const std::string copy = keepCopy(path);
                if (copy.empty())
                    m_saveBlocked[size_t(stored.collection)] = true;
                else
                    report.keptCopies.push_back(copy);
            }
        }
        CollectionTree& tree = m_collections[size_t(stored.collection)];
        tree.adopt(std::move(data));
        // A file that held not even the root gives a fresh one, made "1".
        tree.ensureRoot(stored.rootName.bytes(), 1);
        tree.renameFolder(0, stored.rootName.bytes());
    }
    m_collections[myRecordsCollection].setFolderCreated(0, installed);
    m_collections[networkCollection].ensureRoot(texts::networkRoot.bytes(), 0);
    return report;
}

std::vector<SaveFailure> RecordLibrary::saveAll(std::vector<std::string>* keptCopies) const
{
    std::vector<SaveFailure> failed;
    for (const int collection : { myRecordsCollection, yahooCollection, trashCollection }) {
        const std::string path = filePath(fileNameOf(collection));
        int error = 0;
        if (m_saveBlocked[size_t(collection)]) {
            if (const std::optional<std::string> kept = keptForWriting(path)) {
                m_saveBlocked[size_t(collection)] = false;
                if (!kept->empty() && keptCopies)
                    keptCopies->push_back(*kept);
            }
        }
        if (m_saveBlocked[size_t(collection)])
            failed.push_back({ path, 0 });
        else if (saveCollection(path, m_collections[size_t(collection)].data(), &error) != 0)
            failed.push_back({ path, error });
    }
    return failed;
}
