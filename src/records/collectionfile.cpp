#include "records/collectionfile.h"

#include "records/largepages.h"
#include "records/textlimits.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kHeader = "NKIF-1.0\n";
// The reader examines at most this much of the first line.
constexpr size_t kHeaderLine = 126;
constexpr size_t kFolderFixed = 4 + 10;
constexpr size_t kRecordFixed = 5 + 79;
constexpr size_t kMaxShortText = 255;
constexpr size_t kMaxComment = 65535;

// Little-endian fields from the file's bytes, either all in memory or streamed from a file through
// one buffer that is reused from end to end: touching fresh memory is what costs most when a
// large file is read whole, on machines where a page fault is dear. Every read checks what is
// left: a short read sets failed and yields zeros, so a count or length larger than the rest of
// the file never allocates. Views handed out stay valid until the next has() that needs more than
// is left, so an entry asks for all of its bytes before it takes any.
class Reader {
public:
    // The largest piece has() is asked for: a record entry with every length at its largest.
    static constexpr size_t kMaxPiece = 5 + 3 * 255 + 65535 + 79;

    explicit Reader(std::string_view bytes)
        : m_p(reinterpret_cast<const uint8_t*>(bytes.data()))
        , m_end(m_p + bytes.size())
    { }
    // The file behind fd from its current offset on; size is the file's length.
    Reader(int fd, uint64_t size)
        : m_fd(fd)
        , m_unread(size)
        , m_buffer(new uint8_t[kBufferSize])
        , m_p(m_buffer.get())
        , m_end(m_p)
    { }

    bool failed() const { return m_failed; }
    size_t left() const { return size_t(m_end - m_p); }
    // The bytes not consumed yet, in memory and in the file, as far as its size says.
    uint64_t remaining() const { return left() + m_unread; }
    bool has(size_t n)
    {
        if (n > left() && !fill(n))
            m_failed = true;
        return !m_failed;
    }
    // Up to n of the next bytes, without consuming them.
    std::string_view peek(size_t n)
    {
        fill(n);
        return { reinterpret_cast<const char*>(m_p), std::min(n, left()) };
    }
    void skip(size_t n) { m_p += std::min(n, left()); }
    uint8_t u8() { return has(1) ? *m_p++ : 0; }
    int16_t i16()
    {
        if (!has(2))
            return 0;
        const int16_t v = le16(m_p);
        m_p += 2;
        return v;
    }
    int32_t i32()
    {
        if (!has(4))
            return 0;
        const int32_t v = le32(m_p);
        m_p += 4;
        return v;
    }
    std::string_view bytes(size_t n)
    {
        if (!has(n))
            return {};
        const std::string_view s(reinterpret_cast<const char*>(m_p), n);
        m_p += n;
        return s;
    }
    // The next n bytes, which has(n) has made available.
    const uint8_t* take(size_t n)
    {
        const uint8_t* p = m_p;
        m_p += n;
        return p;
    }

    static int16_t le16(const uint8_t* p) { return int16_t(uint16_t(p[0] | p[1] << 8)); }
    static int32_t le32(const uint8_t* p)
    {
        return int32_t(
            uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
    }

private:
    static constexpr size_t kBufferSize = size_t(1) << 20;
    static_assert(kBufferSize >= 2 * kMaxPiece);

    // Moves what is left to the front of the buffer and reads behind it until the buffer is full
    // or the file ends; true when n bytes are then there.
    bool fill(size_t n)
    {
        if (!m_buffer || n > kBufferSize)
            return n <= left();
        if (n <= left() || m_unread == 0)
            return n <= left();
        const size_t kept = left();
        std::memmove(m_buffer.get(), m_p, kept);
        m_p = m_buffer.get();
        size_t filled = kept;
        while (m_unread > 0 && filled < kBufferSize) {
            const ssize_t got = ::read(m_fd, m_buffer.get() + filled, kBufferSize - filled);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                m_unread = 0; // the file ended early, or cannot be read further
                break;
            }
            filled += size_t(got);
            m_unread -= std::min(m_unread, uint64_t(got));
        }
        m_end = m_p + filled;
        return n <= left();
    }

    int m_fd = -1;
    uint64_t m_unread = 0;
    std::unique_ptr<uint8_t[]> m_buffer;
    const uint8_t* m_p;
    const uint8_t* m_end;
    bool m_failed = false;
};

// One "%d" of sscanf: optional white space and sign, then at least one digit. Saturates.
bool scanInt(std::string_view& s, long long& value)
{
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    const size_t digits = i;
    value = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        value = std::min(value * 10 + (s[i] - '0'), (long long)INT_MAX);
        ++i;
    }
    if (i == digits)
        return false;
    if (negative)
        value = -value;
    s.remove_prefix(i);
    return true;
}

// The first line, parsed as "NKIF-%d.%d": nothing else is read before it is known to be there.
bool readHeader(Reader& in, int32_t& version)
{
    std::string_view first = in.peek(kHeaderLine);
    const size_t before = first.size();
    std::string_view line = takeLine(first, kHeaderLine);
    in.skip(before - first.size());
    long long major;
    long long minor;
    if (!line.starts_with("NKIF-"))
        return false;
    line.remove_prefix(5);
    if (!scanInt(line, major) || !line.starts_with('.'))
        return false;
    line.remove_prefix(1);
    if (!scanInt(line, minor))
        return false;
    version = int32_t(std::clamp(major * 10 + minor, (long long)INT_MIN, (long long)INT_MAX));
    return true;
}

// Reads the folder entries; false when an entry past the last index that records and parents can
// name in their 16 bits is live. Such a folder can hold nothing the file could point at; it is
// left out, and the load says that it did not keep the whole file.
bool readFolders(Reader& in, RecordCollection& c)
{
    const int32_t count = in.i32();
    if (in.failed())
        return true;
    c.folders.emplace_back(); // the root
    if (count > 0 && uint64_t(count) * kFolderFixed <= in.remaining())
        c.folders.reserve(size_t(std::min(count, kMaxFolderIndex)) + 1);
    bool whole = true;
    for (int32_t i = 0; i < count && in.has(4); ++i) {
        const uint8_t* lengths = in.take(4);
        const size_t texts = size_t(lengths[0]) + lengths[1] + lengths[2];
        const size_t size = texts + lengths[3] + 10;
        if (!in.has(size))
            break;
        const uint8_t* p = in.take(size);
        const uint8_t* fixed = p + texts + lengths[3];
        const int16_t parent = Reader::le16(fixed);
        if (int64_t(i) + 1 > kMaxFolderIndex) {
            whole = whole && parent < 0;
            continue;
        }
        RecordFolder& f = c.folders.emplace_back();
        const char* text = reinterpret_cast<const char*>(p);
        f.name.assign(text, lengths[0]);
        f.shareName.assign(text + lengths[0], lengths[1]);
        f.shareComment.assign(text + lengths[0] + lengths[1], lengths[2]);
        f.parent = parent;
        f.created = Reader::le32(fixed + 2);
        f.deletedAt = Reader::le32(fixed + 6);
    }
    return whole;
}

void readNames(Reader& in, RecordCollection& c)
{
    const int32_t count = in.i32();
    for (int32_t i = 0; i < count && !in.failed(); ++i) {
        const std::string_view name = in.bytes(in.u8());
        if (!in.failed())
            c.names.add(name);
    }
}

// Keeps the root and the folders that hang from it through live folders, in their order; a
// removed folder (parent −1), a parent outside the table and a loop of parents all cut a folder
// off. Rebuilds the child lists in table order and empties the record lists. Returns the new
// index of every folder read, −1 for those not kept.
std::vector<int> keepLiveFolders(RecordCollection& c)
{
    const int count = int(c.folders.size());
    // 1 live, −1 dead, 0 not known yet; a folder's state follows its parent's.
    std::vector<int8_t> state(size_t(count), 0);
    state[0] = 1;
    std::vector<int> chain;
    for (int i = 1; i < count; ++i) {
        int f = i;
        while (state[size_t(f)] == 0) {
            state[size_t(f)] = 2; // on the chain being followed: meeting it again is a loop
            chain.push_back(f);
            const int parent = c.folders[size_t(f)].parent;
            if (parent < 0 || parent >= count) {
                f = -1;
                break;
            }
            f = parent;
        }
        const int8_t result = f >= 0 && state[size_t(f)] == 1 ? 1 : -1;
        for (int g : chain)
            state[size_t(g)] = result;
        chain.clear();
    }

    std::vector<int> renumbered(size_t(count), -1);
    std::vector<RecordFolder> kept;
    kept.reserve(size_t(std::count(state.begin(), state.end(), 1)));
    for (int i = 0; i < count; ++i) {
        if (state[size_t(i)] == 1) {
            renumbered[size_t(i)] = int(kept.size());
            kept.push_back(std::move(c.folders[size_t(i)]));
        }
    }
    kept[0].parent = -1;
    for (size_t i = 1; i < kept.size(); ++i)
        kept[i].parent = int16_t(renumbered[size_t(kept[i].parent)]);
    c.folders = std::move(kept);
    for (RecordFolder& f : c.folders) {
        f.children.clear();
        f.records.clear();
    }
    for (size_t i = 1; i < c.folders.size(); ++i)
        c.folders[size_t(c.folders[i].parent)].children.push_back(int(i));
    return renumbered;
}

// Reads the record entries and files each one at once: a record whose folder was not kept is
// dropped, the others take their folder's new index and go to its record list, a player index
// outside the name table becomes the unknown player, and used names are marked. Everything is
// done while the record is at hand, as a pass over a million records costs more than the work.
void readRecords(Reader& in, RecordCollection& c, const std::vector<int>& folderOf,
    std::vector<uint8_t>& usedNames, const OpeningBook& book)
{
    const int32_t count = in.i32();
    if (count > 0 && uint64_t(count) * kRecordFixed <= in.remaining()) {
        c.records.reserve(size_t(count));
        adviseLargePages(c.records.data(), c.records.capacity() * sizeof(GameRecord));
    }
    const int names = int(usedNames.size());
    const auto player = [&](const uint8_t* p) {
        int16_t index = Reader::le16(p);
        if (index < 0 || index >= names)
            index = 0;
        usedNames[size_t(index)] = 1;
        return index;
    };
    for (int32_t i = 0; i < count && in.has(5); ++i) {
        const uint8_t* lengths = in.take(5);
        const size_t nameLength = lengths[0];
        const size_t commentLength = size_t(lengths[2] | lengths[3] << 8);
        const size_t commentAt = nameLength + lengths[1];
        const size_t fixedAt = commentAt + commentLength + lengths[4];
        if (!in.has(fixedAt + 79))
            break;
        const uint8_t* p = in.take(fixedAt + 79);
        const uint8_t* fixed = p + fixedAt;
        const int16_t stored = Reader::le16(fixed);
        // A negative folder is a free slot; the others may name a folder that was not kept.
        if (stored < 0 || size_t(stored) >= folderOf.size() || folderOf[size_t(stored)] < 0)
            continue;
        const int folder = folderOf[size_t(stored)];
        c.folders[size_t(folder)].records.push_back(int(c.records.size()));
        GameRecord& r = c.records.emplace_back();
        r.folder = int16_t(folder);
        r.name.assign(reinterpret_cast<const char*>(p), nameLength);
        r.comment.assign(reinterpret_cast<const char*>(p) + commentAt, commentLength);
        r.blackPlayer = player(fixed + 2);
        r.whitePlayer = player(fixed + 4);
        r.playedAt = Reader::le32(fixed + 6);
        r.deletedAt = Reader::le32(fixed + 10);
        r.blackDiscs = int8_t(fixed[14]);
        r.whiteDiscs = int8_t(fixed[15]);
        r.winner = int8_t(fixed[16]);
        r.orientation = int8_t(fixed[17]);
        r.endType = int8_t(fixed[18]);
        r.moves = MoveList::fromBytes({ reinterpret_cast<const char*>(fixed) + 19, 60 });
        r.opening = int16_t(book.lookup(r.moves));
    }
}

// Keeps entry 0 and the names marked used, in their order, and renumbers the records' players.
void dropUnusedNames(RecordCollection& c, const std::vector<uint8_t>& used)
{
    if (std::find(used.begin(), used.end(), 0) == used.end())
        return;
    std::vector<int16_t> renumbered(used.size(), 0);
    PlayerNameTable kept;
    for (size_t i = 1; i < used.size(); ++i) {
        if (used[i])
            renumbered[i] = int16_t(kept.add(c.names.name(int(i))));
    }
    for (GameRecord& r : c.records) {
        r.blackPlayer = renumbered[size_t(r.blackPlayer)];
        r.whitePlayer = renumbered[size_t(r.whitePlayer)];
    }
    c.names = std::move(kept);
}

// Little-endian fields into a small buffer, appended to the output in one piece.
template <size_t N> class Fields {
public:
    void u8(unsigned v) { m_bytes[m_size++] = char(v & 0xFF); }
    void i16(int v)
    {
        u8(unsigned(v));
        u8(unsigned(v) >> 8);
    }
    void i32(int32_t v)
    {
        const uint32_t u = uint32_t(v);
        for (int shift = 0; shift < 32; shift += 8)
            u8(u >> shift);
    }
    void bytes(const uint8_t* p, size_t n)
    {
        std::memcpy(m_bytes + m_size, p, n);
        m_size += n;
    }
    std::string_view view() const { return { m_bytes, m_size }; }

private:
    char m_bytes[N];
    size_t m_size = 0;
};

// Buffered writing to a file descriptor; any failed write fails the whole file.
class Writer {
public:
    explicit Writer(int fd)
        : m_fd(fd)
    {
        m_buffer.reserve(2 * kChunk);
    }

    bool ok() const { return m_ok; }
    // The errno of the write that failed; ENOSPC when the disk took no more bytes.
    int error() const { return m_error; }
    void bytes(std::string_view s)
    {
        m_buffer += s;
        if (m_buffer.size() >= kChunk)
            flush();
    }
    void flush()
    {
        const char* p = m_buffer.data();
        size_t left = m_buffer.size();
        while (m_ok && left > 0) {
            const ssize_t n = ::write(m_fd, p, left);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                m_ok = false;
                m_error = n < 0 ? errno : ENOSPC;
                break;
            }
            p += n;
            left -= size_t(n);
        }
        m_buffer.clear();
    }

private:
    static constexpr size_t kChunk = 1 << 20;
    int m_fd;
    bool m_ok = true;
    int m_error = 0;
    std::string m_buffer;
};

void writeCollection(Writer& out, const RecordCollection& c)
{
    out.bytes(kHeader);
    Fields<4> count;
    count.i32(c.folders.empty() ? 0 : int32_t(c.folders.size() - 1));
    out.bytes(count.view());
    for (size_t i = 1; i < c.folders.size(); ++i) {
        const RecordFolder& f = c.folders[i];
        const std::string_view name = clipText(f.name, kMaxShortText);
        const std::string_view share = clipText(f.shareName, kMaxShortText);
        const std::string_view comment = clipText(f.shareComment, kMaxShortText);
        Fields<4> lengths;
        lengths.u8(unsigned(name.size()));
        lengths.u8(unsigned(share.size()));
        lengths.u8(unsigned(comment.size()));
        lengths.u8(0);
        Fields<10> fixed;
        fixed.i16(f.parent);
        fixed.i32(f.created);
        fixed.i32(f.deletedAt);
        out.bytes(lengths.view());
        out.bytes(name);
        out.bytes(share);
        out.bytes(comment);
        out.bytes(fixed.view());
    }
    Fields<4> names;
    names.i32(c.names.size() - 1);
    out.bytes(names.view());
    for (int i = 1; i < c.names.size(); ++i) {
        const std::string& name = c.names.name(i);
        Fields<1> length;
        length.u8(unsigned(name.size()));
        out.bytes(length.view());
        out.bytes(name);
    }
    Fields<4> records;
    records.i32(int32_t(c.records.size()));
    out.bytes(records.view());
    for (const GameRecord& r : c.records) {
        const std::string_view name = clipText(r.name, kMaxShortText);
        const std::string_view comment = clipText(r.comment, kMaxComment);
        Fields<5> lengths;
        lengths.u8(unsigned(name.size()));
        lengths.u8(0);
        lengths.u8(unsigned(comment.size()));
        lengths.u8(unsigned(comment.size() >> 8));
        lengths.u8(0);
        Fields<79> fixed;
        fixed.i16(r.folder);
        fixed.i16(r.blackPlayer);
        fixed.i16(r.whitePlayer);
        fixed.i32(r.playedAt);
        fixed.i32(r.deletedAt);
        fixed.u8(uint8_t(r.blackDiscs));
        fixed.u8(uint8_t(r.whiteDiscs));
        fixed.u8(uint8_t(r.winner));
        fixed.u8(uint8_t(r.orientation));
        fixed.u8(uint8_t(r.endType));
        fixed.bytes(r.moves.data(), MoveList::kMaxMoves);
        out.bytes(lengths.view());
        out.bytes(name);
        out.bytes(comment);
        out.bytes(fixed.view());
    }
    out.flush();
}

int syncDirectoryOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "."
        : slash == 0                                   ? "/"
                                                       : path.substr(0, slash);
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const int result = ::fsync(fd);
    ::close(fd);
    return result;
}

// The file a save replaces: path itself, or the file its symbolic links lead to, so that the links
// stay and keep naming the saved file.
std::string followLinks(std::string path)
{
    for (int hop = 0; hop < 40; ++hop) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0)
            return path;
        std::string next(target, size_t(n));
        const size_t slash = path.rfind('/');
        if (next.front() != '/' && slash != std::string::npos)
            next = path.substr(0, slash + 1) + next;
        path = std::move(next);
    }
    return path;
}

// Gives the new file the old one's owner (where permitted) and mode.
void keepIdentity(int fd, const std::string& path)
{
    struct stat old;
    if (::stat(path.c_str(), &old) != 0)
        return;
    // Owner first: changing it may clear set-id bits that the mode then restores.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, uid_t(-1), old.st_gid) != 0) { }
    if (::fchmod(fd, old.st_mode & 07777) != 0) { }
}

} // namespace

namespace {

int readFrom(Reader& in, RecordCollection& collection, const OpeningBook& book)
{
    // A file that claims more than memory holds fails like a damaged one; what was read is
    // dropped, as it may be half made.
    try {
        if (!readHeader(in, collection.version))
            return -1;
        bool whole = readFolders(in, collection);
        if (collection.folders.empty())
            return -1; // not even the folder count
        const std::vector<int> folderOf = keepLiveFolders(collection);
        if (!in.failed())
            readNames(in, collection);
        std::vector<uint8_t> usedNames(size_t(collection.names.size()), 0);
        usedNames[0] = 1;
        if (!in.failed())
            readRecords(in, collection, folderOf, usedNames, book);
        whole = whole && !in.failed();
        dropUnusedNames(collection, usedNames);
        collection.sharedCount = int32_t(std::count_if(collection.folders.begin(),
            collection.folders.end(), [](const RecordFolder& f) { return !f.shareName.empty(); }));
        return whole ? 0 : -1;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) { }
    collection.folders = {};
    collection.records = {};
    collection.names.clear();
    collection.sharedCount = 0;
    return -1;
}

} // namespace

int readCollection(std::string_view bytes, RecordCollection& collection, const OpeningBook& book)
{
    Reader in(bytes);
    return readFrom(in, collection, book);
}

int loadCollection(const std::string& path, RecordCollection& collection, const OpeningBook& book)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    int result = -1;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        try {
            Reader in(fd, uint64_t(st.st_size));
            result = readFrom(in, collection, book);
        } catch (const std::bad_alloc&) {
            result = -1; // not even the buffer
        }
    }
    ::close(fd);
    return result;
}

int saveCollection(const std::string& linkPath, const RecordCollection& collection, int* error)
{
    const std::string path = followLinks(linkPath);
    int failure = 0;
    const auto fail = [&](int why) {
        failure = why ? why : EIO;
        if (error)
            *error = failure;
        return -1;
    };
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return fail(errno);
    }
    if (fd < 0)
        return fail(EEXIST);
    keepIdentity(fd, path);
    Writer out(fd);
    writeCollection(out, collection);
    if (!out.ok())
        failure = out.error();
    else if (::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && ::rename(temporary.c_str(), path.c_str()) == 0) {
        // The rename itself reaches the disk with the directory.
        syncDirectoryOf(path);
        return 0;
    }
    if (failure == 0)
        failure = errno;
    ::unlink(temporary.c_str());
    return fail(failure);
}
