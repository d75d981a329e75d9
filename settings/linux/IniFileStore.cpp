// SPDX-License-Identifier: MIT
#include "settings/linux/IniFileStore.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/FileLock.h"
#include "platform/RegularFile.h"

namespace kuvell {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Why the bytes are not the UTF-8 INI text Kuvell writes, or an empty text. Only
// unmistakable signs count: another encoding's byte-order mark, or a NUL byte
// (UTF-16 and UTF-32 text without a mark is full of them). Stray bytes inside a
// value are the user's text and do not make the file unreadable.
std::string notIniText(std::string_view bytes)
{
    const auto encodedAs = [](std::string_view encoding) {
        return "it begins with a " + std::string(encoding) + " byte-order mark, so it is " +
               std::string(encoding) + " text, not the UTF-8 INI text Kuvell reads and writes";
    };
    if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4)) ||
        bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4))) {
        return encodedAs("UTF-32");
    }
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return encodedAs("UTF-16");
    if (bytes.find('\0') != std::string_view::npos) {
        return "it holds NUL bytes, which no INI text does (it may be in another encoding)";
    }
    return {};
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool isGeneral(std::string_view name)
{
    constexpr std::string_view general = "general";
    return name.size() == general.size() &&
           std::equal(name.begin(), name.end(), general.begin(),
                      [](char a, char b) { return asciiLower(a) == b; });
}

// A name an INI codec would read as a path, or as its catch-all "General"
// section, never names a section or key of Kuvell's.
bool isPlainName(std::string_view name)
{
    return !name.empty() && name.find_first_of("/\\") == std::string_view::npos && !isGeneral(name);
}

std::string valueKey(std::string_view section, std::string_view key)
{
    return std::string(section).append("/").append(key);
}

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool isNameByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.' || c == '-';
}

// A name the codec takes as it is spelled: nothing to unescape, not "General".
bool isLiteralName(std::string_view name)
{
    return !name.empty() && std::all_of(name.begin(), name.end(), isNameByte) && !isGeneral(name);
}

// Whether an INI reader would go on reading the line past its end: an open
// quote, an escaped line end, or a carriage return inside it (a line end of its own).
bool runsPastItsEnd(std::string_view line)
{
    bool inQuotes = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\r' && i + 1 < line.size()) return true;
        if (c == '\\') {
            ++i;
            if (i == line.size() || (i + 1 == line.size() && line[i] == '\r')) return true;
            if (line[i] == '\r') return true;
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == ';' && !inQuotes) {
            const std::size_t carriageReturn = line.find('\r', i);
            return carriageReturn != std::string_view::npos && carriageReturn + 1 < line.size();
        }
    }
    return inQuotes;
}

bool isPrintableAscii(std::string_view line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c <= 0x7e; });
}

// Printable ASCII with nothing the codec unescapes, quotes, comments out or
// reads as a type: it reads the trimmed text, or a list it gives back as that
// same text.
bool isLiteralValueLine(std::string_view line)
{
    return isPrintableAscii(line) && std::none_of(line.begin(), line.end(), [](char c) {
               return c == '"' || c == '\\' || c == ';' || c == '@' || c == '%' || c == '#';
           });
}

// A literal line's section and key, as spelled in the file, and their hash.
struct LiteralName
{
    std::string_view section;
    std::string_view key;
    std::size_t hash = 0;

    static LiteralName of(std::string_view section, std::string_view key)
    {
        const std::hash<std::string_view> hashOf;
        return {section, key, hashOf(section) * 31 + hashOf(key)};
    }
    bool operator==(const LiteralName& other) const
    {
        return hash == other.hash && section == other.section && key == other.key;
    }
};

// The literal lines' values by name, the last line winning: one array of
// entries and one of slots probed in turn, so that 700,000 lines cost two
// allocations rather than one each. A slot holds its entry's index and a few
// bits of its hash, so a probe reads an entry only when those match.
class LiteralTable
{
  public:
    void reserve(std::size_t lines)
    {
        const std::size_t most = std::min(lines, kMaxEntries);
        entries_.reserve(most);
        slots_.assign(std::bit_ceil(most + most / 3 + 16), kEmpty);  // at most 3/4 used
    }
    void clear()
    {
        entries_.clear();
        slots_.clear();
    }

    // False when the table is full: the line is then left to the codec.
    bool insertOrAssign(const LiteralName& name, std::string_view value)
    {
        std::uint32_t& slot = slots_[positionOf(name)];
        if (slot != kEmpty) {
            entries_[(slot & kIndexMask) - 1].value = value;
            return true;
        }
        if (entries_.size() == kMaxEntries || 4 * entries_.size() >= 3 * slots_.size())
            return false;
        entries_.push_back({name, value});
        slot = tagOf(name) | static_cast<std::uint32_t>(entries_.size());
        return true;
    }

    const std::string_view* find(const LiteralName& name) const
    {
        if (slots_.empty()) return nullptr;
        const std::uint32_t slot = slots_[positionOf(name)];
        return slot == kEmpty ? nullptr : &entries_[(slot & kIndexMask) - 1].value;
    }

  private:
    static constexpr std::uint32_t kEmpty = 0;
    static constexpr int kIndexBits = 23;  // an 8 MiB file has fewer literal lines
    static constexpr std::uint32_t kIndexMask = (1u << kIndexBits) - 1;
    static constexpr std::size_t kMaxEntries = kIndexMask - 1;
    struct Entry
    {
        LiteralName name;
        std::string_view value;
    };

    static std::uint32_t tagOf(const LiteralName& name)
    {
        return static_cast<std::uint32_t>(name.hash >> (64 - (32 - kIndexBits))) << kIndexBits;
    }

    // Where the name's slot is, or the empty slot where it would go.
    std::size_t positionOf(const LiteralName& name) const
    {
        const std::size_t mask = slots_.size() - 1;
        const std::uint32_t tag = tagOf(name);
        std::size_t at = name.hash & mask;
        for (; slots_[at] != kEmpty; at = (at + 1) & mask) {
            const std::uint32_t slot = slots_[at];
            if ((slot & ~kIndexMask) == tag && entries_[(slot & kIndexMask) - 1].name == name)
                break;
        }
        return at;
    }

    std::vector<Entry> entries_;
    std::vector<std::uint32_t> slots_;
};

}  // namespace

// Literal lines stay views into the file's own bytes: at the read limit a file
// holds some 700,000 of them, and a string pair for each cost more than the
// parse. The bytes never move, so the contents are neither copied nor moved.
struct IniFileStore::Contents
{
    explicit Contents(std::string fileBytes) : bytes(std::move(fileBytes)) {}
    Contents(const Contents&) = delete;
    Contents& operator=(const Contents&) = delete;

    const std::string bytes;  // the file as read; the views point into it
    LiteralTable literal;
    IniCodec::Values others;  // the values the codec gave, by "section/key"
    // Some line goes on past its end (an open quote, an escaped line end), so
    // what follows it is not read on its own.
    bool linesRunOn = false;
    bool decoded = true;  // false: the codec failed, and the contents read as empty

    std::optional<std::string> find(std::string_view section, std::string_view key) const
    {
        if (const auto other = others.find(valueKey(section, key)); other != others.end())
            return other->second;
        if (const std::string_view* found = literal.find(LiteralName::of(section, key)))
            return std::string(*found);
        return std::nullopt;
    }
};

namespace {

using Contents = IniFileStore::Contents;

// One pass over the file. Kuvell's own lines and nearly every hand edit are
// literal "key=text" lines under a literal [section]: their texts are taken as
// they stand. Only the other lines (with their section's header) are left to
// the codec, which costs many times as much a line. Should one of those name a
// key a literal line names too, which line wins is the codec's to say: the
// whole file then goes to the codec.
std::shared_ptr<Contents> parseIni(std::string fileBytes, const IniCodec& codec,
                                   std::string& problem)
{
    auto contents = std::make_shared<Contents>(std::move(fileBytes));
    const std::string_view bytes = contents->bytes;
    auto& literal = contents->literal;
    literal.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    std::string rest;
    std::string_view header;           // the current section's header line, empty before the first
    std::string_view section;          // its name, empty when it is not literal
    const char* restHeader = nullptr;  // the header last copied into rest
    std::size_t start = bytes.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view whole = bytes.substr(start, end - start);
        if (runsPastItsEnd(whole)) {
            // Where the codec's lines no longer match the file's, all the rest is the codec's.
            if (!header.empty() && restHeader != header.data()) rest.append(header).append("\n");
            rest.append(bytes.substr(start));
            contents->linesRunOn = true;
            break;
        }
        start = end + 1;
        std::string_view unterminated = whole;
        if (unterminated.ends_with('\r')) unterminated.remove_suffix(1);
        const std::string_view line = trimmed(unterminated);
        if (line.empty()) continue;
        if (line.starts_with('[')) {
            header = whole;
            const std::string_view name = trimmed(line.substr(1, line.size() - 2));
            const bool isLiteral = isPrintableAscii(unterminated) && line.ends_with(']') &&
                                   std::count(line.begin(), line.end(), ']') == 1 &&
                                   isLiteralName(name);
            section = isLiteral ? name : std::string_view();
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!section.empty() && equals != std::string_view::npos && equals > 0) {
            const std::string_view key = trimmed(line.substr(0, equals));
            if (isLiteralName(key) && isLiteralValueLine(unterminated) &&
                literal.insertOrAssign(LiteralName::of(section, key),
                                       trimmed(line.substr(equals + 1)))) {
                continue;
            }
        }
        if (!header.empty() && restHeader != header.data()) {
            rest.append(header).append("\n");
            restHeader = header.data();
        }
        rest.append(whole).append("\n");
    }
    if (rest.empty()) return contents;
    std::optional<IniCodec::Values> others = codec.decode(rest, problem);
    const auto namesALiteralKey = [&literal](const auto& other) {
        const std::string_view name = other.first;
        const std::size_t slash = name.find('/');
        return slash != std::string_view::npos &&
               literal.find(LiteralName::of(name.substr(0, slash), name.substr(slash + 1)));
    };
    if (others && std::any_of(others->begin(), others->end(), namesALiteralKey)) {
        others = codec.decode(bytes, problem);
        literal.clear();
    }
    if (!others) {
        literal.clear();
        contents->decoded = false;
        return contents;
    }
    contents->others = std::move(*others);
    return contents;
}

// Keys the file does not hold yet (the first-start date) are added at its end
// in the codec's spelling, every byte before them as it was: the quick way for
// a large file, and a hand-edited one keeps its look. An INI reader merges a
// section named twice. nullopt when a key exists or a line could run on into
// the new ones.
std::optional<std::string> withKeysAdded(const Contents& current,
                                         std::span<const StoreChange> changes,
                                         const IniCodec& codec, std::string& problem)
{
    if (current.linesRunOn) return std::nullopt;
    for (const StoreChange& change : changes) {
        if (current.find(change.key.section, change.key.name)) return std::nullopt;
    }
    std::optional<std::string> added = codec.encode({}, changes, problem);
    if (!added) return std::nullopt;
    std::string result = current.bytes;
    if (!result.empty() && !result.ends_with('\n')) result += '\n';
    return result + *added;
}

// The file's new contents with the changes made, checked by reading them back.
std::shared_ptr<Contents> withChanges(const Contents& current, std::span<const StoreChange> changes,
                                      const IniCodec& codec, std::string& problem)
{
    const auto readBack = [&](std::string changed) -> std::shared_ptr<Contents> {
        std::shared_ptr<Contents> result = parseIni(std::move(changed), codec, problem);
        if (!result->decoded) return nullptr;
        for (const StoreChange& change : changes) {
            if (result->find(change.key.section, change.key.name) != change.text) return nullptr;
        }
        return result;
    };
    if (std::optional<std::string> appended = withKeysAdded(current, changes, codec, problem)) {
        if (std::shared_ptr<Contents> result = readBack(std::move(*appended))) return result;
    }
    std::optional<std::string> rewritten = codec.encode(current.bytes, changes, problem);
    if (!rewritten) return nullptr;
    std::shared_ptr<Contents> result = readBack(std::move(*rewritten));
    if (!result && problem.empty())
        problem = "the new contents did not read back as they were written";
    return result;
}

Result makeFolder(const std::string& filePath)
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(filePath, error).parent_path();
    if (!error) std::filesystem::create_directories(folder, error);
    if (error) return Result::failure(error.message());
    return Result::success();
}

}  // namespace

IniFileStore::IniFileStore(std::string filePath, const IniCodec& codec, Warning warning)
    : filePath_(std::move(filePath)), codec_(codec), warning_(std::move(warning))
{
}

IniFileStore::~IniFileStore() = default;

std::shared_ptr<const IniFileStore::Contents> IniFileStore::currentContents() const
{
    FileRead file = readRegularFile(filePath_, kMaxFileBytes);
    std::string problem = file.reason;
    if (file.outcome != FileReadOutcome::Read) file.bytes.clear();
    if (std::string notText = notIniText(file.bytes); !notText.empty()) {
        problem = std::move(notText);
        file.bytes.clear();
    }
    if (!contents_ || !contents_->decoded || file.bytes != contents_->bytes)
        contents_ = parseIni(std::move(file.bytes), codec_, problem);
    if (problem != lastReadProblem_ && !problem.empty())
        warning_("cannot read " + filePath_ + ": " + problem + "; the defaults are used");
    lastReadProblem_ = problem;
    return contents_;
}

std::optional<std::string> IniFileStore::readText(KeyName key) const
{
    if (!isPlainName(key.section) || !isPlainName(key.name)) return std::nullopt;
    return currentContents()->find(key.section, key.name);
}

Result IniFileStore::writeTexts(std::span<const StoreChange> changes)
{
    Result result = Result::success();
    for (const StoreChange& change : changes) {
        if (!isPlainName(change.key.section) || !isPlainName(change.key.name))
            result = Result::failure("not a valid section or key name");
    }
    if (result) {
        result = save([&](const std::shared_ptr<const Contents>& current, std::string& problem) {
            return withChanges(*current, changes, codec_, problem);
        });
    }
    if (!result)
        warning_("could not save " + keyNames(changes) + " to " + filePath_ + ": " + result.reason);
    return result;
}

Result IniFileStore::removeText(KeyName key)
{
    Result result = Result::success();
    if (!isPlainName(key.section) || !isPlainName(key.name)) {
        result = Result::failure("not a valid section or key name");
    } else if (readText(key)) {  // else nothing to remove, and not even a folder is made
        result = save([&](const std::shared_ptr<const Contents>& current,
                          std::string& problem) -> std::shared_ptr<const Contents> {
            if (!current->find(key.section, key.name)) return current;
            std::optional<std::string> removed = codec_.encodeRemoval(current->bytes, key, problem);
            if (!removed) return nullptr;
            std::shared_ptr<Contents> result = parseIni(std::move(*removed), codec_, problem);
            if (!result->decoded) return nullptr;
            if (result->find(key.section, key.name)) {
                problem = "the key was still there after its removal";
                return nullptr;
            }
            return result;
        });
    }
    if (!result)
        warning_("could not remove " + std::string(key.section) + "/" + std::string(key.name) +
                 " from " + filePath_ + ": " + result.reason);
    return result;
}

Result IniFileStore::save(const Edit& edit)
{
    if (Result folder = makeFolder(filePath_); !folder) return folder;
    // Not even a lock file goes where another user could have planted a link.
    if (std::string untrusted = untrustedFolderReason(filePath_); !untrusted.empty())
        return Result::failure(std::move(untrusted));
    FileLock lock(filePath_ + ".lock");
    if (Result locked = lock.take(); !locked) return locked;

    // Whatever cannot be read is not rewritten from nothing.
    FileRead current = readRegularFile(filePath_, kMaxFileBytes);
    if (current.outcome != FileReadOutcome::Read && current.outcome != FileReadOutcome::Absent)
        return Result::failure(std::move(current.reason));
    if (std::string notText = notIniText(current.bytes); !notText.empty())
        return Result::failure(std::move(notText));
    std::string problem;
    // Start-up has just parsed the same bytes, as a rule.
    std::shared_ptr<const Contents> base = contents_;
    if (!base || !base->decoded || base->bytes != current.bytes) {
        base = parseIni(std::move(current.bytes), codec_, problem);
        if (!base->decoded) return Result::failure(problem);
    }
    std::shared_ptr<const Contents> changed = edit(base, problem);
    if (!changed) return Result::failure(problem);
    if (changed == base) return Result::success();
    // The next start would refuse the file, and every later save with it.
    if (changed->bytes.size() > kMaxFileBytes) {
        return Result::failure("the saved file would be " + std::to_string(changed->bytes.size()) +
                               " bytes, more than the " + std::to_string(kMaxFileBytes) +
                               " bytes Kuvell reads at start-up; it was left as it was");
    }
    if (Result written = replaceRegularFile(filePath_, changed->bytes); !written) return written;
    contents_ = std::move(changed);
    return Result::success();
}

}  // namespace kuvell
