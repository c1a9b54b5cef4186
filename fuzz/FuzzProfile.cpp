// Feeds arbitrary bytes to the preferences (INI) reader and writer. Input: one byte
// of two sets of view options, one byte that splits the rest into the user's file
// and a shared file of defaults. Whatever the files hold, options written must read
// back as written (alone and over the shared defaults), writing them again must
// change nothing, a byte-order mark before the file must change nothing but stay
// where it is, and a key written under
// names taken from the shared file must read back; AddressSanitizer watches every step.
#include "storage/ProfileFile.h"
#include "storage/ViewPreferences.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

using namespace solvena;

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

void require(bool condition, const char* what)
{
    if (condition) return;
    std::fprintf(stderr, "preferences file property broken: %s\n", what);
    std::abort();
}

ViewPreferences optionsOf(unsigned bits)
{
    return {.vertLine = (bits & 1) != 0, .horzLine = (bits & 2) != 0, .alignRight = (bits & 4) != 0};
}

bool startsWithMark(std::string_view bytes)
{
    return bytes.starts_with(kByteOrderMark);
}

// The first line of `rest`, taken off it.
std::string_view takeLine(std::string_view& rest)
{
    const auto lf = rest.find('\n');
    const std::string_view line = rest.substr(0, lf);
    rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
    return line;
}

// Any section, key and value: what the writer refuses is fine, what it writes must be
// found again. A value with blanks at its edges or in quotes reads back without them,
// so only plain values are compared.
void checkAnyKey(std::string_view ini, std::string_view names)
{
    const std::string_view section = takeLine(names);
    const std::string_view key = takeLine(names);
    const std::string_view value = takeLine(names);
    std::string written;
    try {
        written = writeProfileString(ini, section, key, value);
    } catch (const std::invalid_argument&) {
        return;
    }
    require(startsWithMark(written) == startsWithMark(ini), "byte-order mark added or lost");
    const auto read = readProfileString(written, section, key);
    require(read.has_value(), "written key not found");
    const bool plain = value.find_first_of(" \t") != 0 && value.find_last_of(" \t") != value.size() - 1 &&
                       (value.empty() || (value.front() != '"' && value.front() != '\''));
    require(!plain || *read == value, "written value reads back otherwise");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const ViewPreferences first = optionsOf(data[0]);
    const ViewPreferences second = optionsOf(data[0] >> 3);
    const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const size_t split = rest.size() * data[1] / 255;
    const std::string_view mine = rest.substr(0, split);
    const std::string_view shared = rest.substr(split);

    const std::string written = writeViewPreferences(mine, first);
    require(readViewPreferences(written) == first, "written options read back otherwise");
    require(writeViewPreferences(written, first) == written, "writing the same options again changed the file");
    require(startsWithMark(written) == startsWithMark(mine), "byte-order mark added or lost");
    if (!startsWithMark(mine)) {
        // A mark before the file is no part of its first line: it hides nothing and stays.
        const std::string marked = std::string(kByteOrderMark) + std::string(mine);
        require(readViewPreferences(marked) == readViewPreferences(mine), "byte-order mark changed what is read");
        require(writeViewPreferences(marked, first) == std::string(kByteOrderMark) + written,
                "byte-order mark changed what is written");
    }
    require(readViewPreferences(writeViewPreferences(written, second)) == second, "rewritten options read back otherwise");

    const ViewPreferences defaults = readViewPreferences(shared);
    const std::string layered = writeViewPreferences(mine, first, shared);
    require(readViewPreferences(layered, defaults) == first, "options over shared defaults read back otherwise");
    require(writeViewPreferences(layered, first, shared) == layered, "writing over shared defaults again changed the file");

    checkAnyKey(mine, shared);
    return 0;
}
