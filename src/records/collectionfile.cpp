#include "records/collectionfile.h"

#include "records/textlimits.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <memory>
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

// Little-endian fields from a byte range. Every read checks what is left: a short read sets
// failed and yields zeros, so a count or length larger than the rest of the file never allocates.
class Reader {
public:
    explicit Reader(std::string_view bytes)
        : m_p(reinterpret_cast<const uint8_t*>(bytes.data()))
        , m_end(m_p + bytes.size())
    { }

    bool failed() const { return m_failed; }
    size_t left() const { return size_t(m_end - m_p); }
    bool has(size_t n)
    {
        if (n > left())
            m_failed = true;
        return !m_failed;
    }
    uint8_t u8() { return has(1) ? *m_p++ : 0; }
    int16_t i16()
    {
        if (!has(2))
            return 0;
        const uint16_t v = uint16_t(m_p[0] | m_p[1] << 8);
        m_p += 2;
        return int16_t(v);
    }
    int32_t i32()
    {
        if (!has(4))
            return 0;
        const uint32_t v = uint32_t(m_p[0]) | uint32_t(m_p[1]) << 8 | uint32_t(m_p[2]) << 16
            | uint32_t(m_p[3]) << 24;
        m_p += 4;
        return int32_t(v);
    }
    std::string_view bytes(size_t n)
    {
        if (!has(n))
            return {};
        const std::string_view s(reinterpret_cast<const char*>(m_p), n);
        m_p += n;
        return s;
    }

private:
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

// The first line, parsed as "NKIF-%d.%d".
bool readHeader(std::string_view& bytes, int32_t& version)
{
    std::string_view line = takeLine(bytes, kHeaderLine);
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

void readFolders(Reader& in, RecordCollection& c)
{
    const int32_t count = in.i32();
    if (in.failed())
        return;
    c.folders.emplace_back(); // the root
    if (count > 0 && size_t(count) * kFolderFixed <= in.left())
        c.folders.reserve(size_t(count) + 1);
    for (int32_t i = 0; i < count && !in.failed(); ++i) {
        const uint8_t nameLength = in.u8();
        const uint8_t shareLength = in.u8();
        const uint8_t commentLength = in.u8();
        const uint8_t reservedLength = in.u8();
        RecordFolder f;
        f.name = in.bytes(nameLength);
        f.shareName = in.bytes(shareLength);
        f.shareComment = in.bytes(commentLength);
        in.bytes(reservedLength);
        f.parent = in.i16();
        f.created = in.i32();
        f.deletedAt = in.i32();
        if (!in.failed())
            c.folders.push_back(std::move(f));
    }
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

void readRecords(Reader& in, RecordCollection& c)
{
    const int32_t count = in.i32();
    if (count > 0 && size_t(count) * kRecordFixed <= in.left())
        c.records.reserve(size_t(count));
    for (int32_t i = 0; i < count && !in.failed(); ++i) {
        const uint8_t nameLength = in.u8();
        const uint8_t reserved1 = in.u8();
        const uint8_t commentLow = in.u8();
        const uint8_t commentHigh = in.u8();
        const uint8_t reserved2 = in.u8();
        const std::string_view name = in.bytes(nameLength);
        in.bytes(reserved1);
        const std::string_view comment = in.bytes(size_t(commentLow | commentHigh << 8));
        in.bytes(reserved2);
        const int16_t folder = in.i16();
        const std::string_view fixed = in.bytes(77);
        if (in.failed())
            break;
        if (folder < 0)
            continue;
        Reader f(fixed);
        GameRecord& r = c.records.emplace_back();
        r.folder = folder;
        r.name = name;
        r.comment = comment;
        r.blackPlayer = f.i16();
        r.whitePlayer = f.i16();
        r.playedAt = f.i32();
        r.deletedAt = f.i32();
        r.blackDiscs = int8_t(f.u8());
        r.whiteDiscs = int8_t(f.u8());
        r.winner = int8_t(f.u8());
        r.orientation = int8_t(f.u8());
        r.endType = int8_t(f.u8());
        r.moves = MoveList::fromBytes(f.bytes(60));
    }
}

// Keeps entry 0 and the names some record uses, in their order, and renumbers the records.
// A player index outside the table stands for an unknown player.
void dropUnusedNames(RecordCollection& c)
{
    const int count = c.names.size();
    std::vector<int> renumbered(size_t(count), -1);
    renumbered[0] = 0;
    for (GameRecord& r : c.records) {
        for (int16_t* player : { &r.blackPlayer, &r.whitePlayer }) {
            if (*player < 0 || *player >= count)
                *player = 0;
            renumbered[size_t(*player)] = 0;
        }
    }
    PlayerNameTable kept;
    for (int i = 1; i < count; ++i) {
        if (renumbered[size_t(i)] == 0)
            renumbered[size_t(i)] = kept.add(c.names.name(i));
    }
    for (GameRecord& r : c.records) {
        r.blackPlayer = int16_t(renumbered[size_t(r.blackPlayer)]);
        r.whitePlayer = int16_t(renumbered[size_t(r.whitePlayer)]);
    }
    c.names = std::move(kept);
}

// Keeps the root and the folders that hang from it through live folders, in their order; a
// removed folder (parent −1), a parent outside the table and a loop of parents all cut a folder
// off. Records in folders that are not kept are dropped. Then rebuilds the child and record lists
// in table order.
void dropDeadFolders(RecordCollection& c)
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

    std::erase_if(c.records, [&](const GameRecord& r) {
        return r.folder < 0 || r.folder >= count || renumbered[size_t(r.folder)] < 0;
    });
    for (GameRecord& r : c.records)
        r.folder = int16_t(renumbered[size_t(r.folder)]);

    for (RecordFolder& f : c.folders) {
        f.children.clear();
        f.records.clear();
    }
    for (size_t i = 1; i < c.folders.size(); ++i)
        c.folders[size_t(c.folders[i].parent)].children.push_back(int(i));
    for (size_t i = 0; i < c.records.size(); ++i)
        c.folders[size_t(c.records[i].folder)].records.push_back(int(i));
}

// Brings what was read into the shape the library relies on.
void finish(RecordCollection& c, const OpeningBook& book)
{
    if (c.folders.empty()) {
        c.records.clear();
        return;
    }
    dropUnusedNames(c);
    dropDeadFolders(c);
    c.sharedCount = int32_t(std::count_if(c.folders.begin(), c.folders.end(),
        [](const RecordFolder& f) { return !f.shareName.empty(); }));
    for (GameRecord& r : c.records)
        r.opening = int16_t(book.lookup(r.moves));
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

int readCollection(std::string_view bytes, RecordCollection& collection, const OpeningBook& book)
{
    if (!readHeader(bytes, collection.version))
        return -1;
    Reader in(bytes);
    readFolders(in, collection);
    if (!in.failed())
        readNames(in, collection);
    if (!in.failed())
        readRecords(in, collection);
    finish(collection, book);
    return in.failed() ? -1 : 0;
}

int loadCollection(const std::string& path, RecordCollection& collection, const OpeningBook& book)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    // Read whole: a million records parse faster from memory than entry by entry.
    const size_t size = size_t(st.st_size);
    std::unique_ptr<char[]> data(new char[size ? size : 1]);
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, data.get() + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += size_t(n);
    }
    ::close(fd);
    return readCollection({ data.get(), got }, collection, book);
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
