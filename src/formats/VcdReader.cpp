#include "formats/VcdReader.h"

#include "formats/VcdTime.h"
#include "formats/VcdTokens.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <unordered_map>

namespace solvena {

namespace {

// Words are at least this long before the widest variable's values ask for more.
constexpr size_t kMinMaxWord = 1024 * 1024;

constexpr std::array<bool, 256> valueCharacters()
{
    std::array<bool, 256> table{};
    for (const char c : std::string_view("01xXzZuUwWlLhH-")) table[static_cast<unsigned char>(c)] = true;
    return table;
}
constexpr std::array<bool, 256> kValueCharacter = valueCharacters();

bool isValueChar(char c) { return kValueCharacter[static_cast<unsigned char>(c)]; }

bool isDataKeyword(std::string_view word)
{
    return word == "$dumpvars" || word == "$dumpall" || word == "$dumpon" || word == "$dumpoff";
}

// A whole decimal number with an optional "-", within int64.
bool parseInteger(std::string_view text, int64_t& value)
{
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end;
}

// "[msb:lsb]" or "[bit]"; false for anything else.
bool parseRange(std::string_view index, int64_t& msb, int64_t& lsb)
{
    if (index.size() < 3 || index.front() != '[' || index.back() != ']') return false;
    index = index.substr(1, index.size() - 2);
    const size_t colon = index.find(':');
    if (colon == std::string_view::npos) {
        if (!parseInteger(index, msb)) return false;
        lsb = msb;
        return true;
    }
    return parseInteger(index.substr(0, colon), msb) && parseInteger(index.substr(colon + 1), lsb);
}

}  // namespace

// Identifier codes to slots. Writers number their signals with codes of one or two
// printable characters, so those are looked up in a flat table; longer codes in a map.
class VcdReader::IdCodes {
public:
    IdCodes() : short_(kShortCodes, -1) {}

    int32_t find(std::string_view id) const
    {
        const size_t s = shortIndex(id);
        if (s != kNoIndex) return short_[s];
        const auto it = long_.find(id);
        return it == long_.end() ? -1 : it->second;
    }

    void add(std::string_view id, int32_t slot)
    {
        const size_t s = shortIndex(id);
        if (s != kNoIndex) short_[s] = slot;
        else long_.emplace(std::string(id), slot);
    }

private:
    static constexpr size_t kPrintable = 94;  // '!' .. '~'
    static constexpr size_t kShortCodes = kPrintable + kPrintable * kPrintable;
    static constexpr size_t kNoIndex = static_cast<size_t>(-1);

    static size_t shortIndex(std::string_view id)
    {
        const auto digit = [](char c) { return static_cast<size_t>(static_cast<unsigned char>(c) - 33u); };
        if (id.size() == 1 && digit(id[0]) < kPrintable) return digit(id[0]);
        if (id.size() == 2 && digit(id[0]) < kPrintable && digit(id[1]) < kPrintable)
            return kPrintable + digit(id[0]) * kPrintable + digit(id[1]);
        return kNoIndex;
    }

    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };

    std::vector<int32_t> short_;
    std::unordered_map<std::string, int32_t, Hash, std::equal_to<>> long_;
};

VcdReader::VcdReader(ByteSource& source)
    : tokens_(std::make_unique<VcdTokens>(source, kMinMaxWord)), ids_(std::make_unique<IdCodes>())
{
}

VcdReader::~VcdReader() = default;

void VcdReader::fail(Reason reason) const
{
    throw VcdFailure{tokens_->line(), std::move(reason)};
}

bool VcdReader::readHeader()
{
    try {
        for (;;) {
            const std::string_view word = tokens_->next();
            if (word.empty())
                throw VcdFailure{tokens_->lineNow(), ReasonKind::VcdNoEndDefinitions};
            if (word[0] != '$') fail(Reason(ReasonKind::VcdNeedDeclaration, {vcdShown(word)}));
            // A copy: the words that follow may move the buffer under the view.
            const std::string keyword(word);
            if (keyword == "$enddefinitions") {
                expectEnd(keyword);
                break;
            }
            readDeclaration(keyword);
        }
    } catch (const VcdFailure& failure) {
        failed_ = true;
        error_ = {failure.line, failure.reason};
        return false;
    }
    if (!header_.timescaleGiven) header_.notes.emplace_back(ReasonKind::VcdNoTimescale);
    watched_.assign(static_cast<size_t>(header_.slotCount), 0);
    int32_t widest = 1;
    for (const int32_t width : slotWidth_) widest = std::max(widest, width);
    // A vector's value is one word: "b" and its bits.
    tokens_->setMaxWord(std::max(kMinMaxWord, static_cast<size_t>(widest) + 1));
    inData_ = true;
    return true;
}

void VcdReader::readDeclaration(const std::string& keyword)
{
    if (keyword == "$var") return readVar();
    if (keyword == "$scope") return readScope();
    if (keyword == "$upscope") {
        if (currentScope_ < 0) fail(ReasonKind::VcdUpscopeWithoutScope);
        currentScope_ = header_.scopes[static_cast<size_t>(currentScope_)].parent;
        return expectEnd(keyword);
    }
    if (keyword == "$timescale") return readTimescale();
    if (keyword == "$comment" || keyword == "$date" || keyword == "$version") return skipToEnd(keyword);
    if (keyword == "$end") fail(ReasonKind::VcdEndWithoutDeclaration);
    if (isDataKeyword(keyword)) fail(Reason(ReasonKind::VcdDataBeforeDefinitionsEnd, {keyword}));
    const Reason note(ReasonKind::VcdDeclarationSkipped, {vcdShown(keyword)});
    if (std::find(header_.notes.begin(), header_.notes.end(), note) == header_.notes.end())
        header_.notes.push_back(note);
    skipToEnd(keyword);
}

std::string_view VcdReader::expectWord(ReasonKind what)
{
    const std::string_view word = tokens_->next();
    if (word.empty()) throw VcdFailure{tokens_->lineNow(), Reason(ReasonKind::VcdNeedWordAtEnd, {Reason(what)})};
    if (word == "$end") fail(Reason(ReasonKind::VcdNeedWordGotEnd, {Reason(what)}));
    return word;
}

void VcdReader::expectEnd(const std::string& keyword)
{
    const std::string_view word = tokens_->next();
    if (word.empty())
        throw VcdFailure{tokens_->lineNow(), Reason(ReasonKind::VcdNeedEndAtEnd, {keyword})};
    if (word != "$end") fail(Reason(ReasonKind::VcdNeedEndGot, {keyword, vcdShown(word)}));
}

void VcdReader::skipToEnd(const std::string& keyword)
{
    const int64_t line = tokens_->line();
    for (;;) {
        const std::string_view word = tokens_->next();
        if (word.empty()) throw VcdFailure{line, Reason(ReasonKind::VcdNoEnd, {vcdShown(keyword)})};
        if (word == "$end") return;
    }
}

void VcdReader::readTimescale()
{
    const int64_t line = tokens_->line();
    std::string text;
    for (;;) {
        const std::string_view word = tokens_->next();
        if (word.empty()) throw VcdFailure{line, Reason(ReasonKind::VcdNoEnd, {"$timescale"})};
        if (word == "$end") break;
        text += word;
        if (text.size() > 64) break;
    }
    const size_t digits = text.find_first_not_of("0123456789");
    const std::string number = text.substr(0, digits);
    const TimeText time = parseTimeText(text);
    if ((number != "1" && number != "10" && number != "100") || !time.ok())
        throw VcdFailure{line, Reason(ReasonKind::VcdBadTimescale, {vcdShown(text)})};
    header_.tickFemtoseconds = time.femtoseconds;
    header_.timescaleGiven = true;
}

void VcdReader::readScope()
{
    if (header_.scopes.size() >= static_cast<size_t>(kMaxVcdVars))
        fail(Reason(ReasonKind::VcdTooManyScopes, {kMaxVcdVars}));
    VcdScope scope;
    scope.type = expectWord(ReasonKind::VcdWordScopeType);
    scope.name = expectWord(ReasonKind::VcdWordScopeName);
    expectEnd("$scope");
    scope.parent = currentScope_;
    const auto index = static_cast<int32_t>(header_.scopes.size());
    if (currentScope_ >= 0) header_.scopes[static_cast<size_t>(currentScope_)].scopes.push_back(index);
    else header_.topScopes.push_back(index);
    header_.scopes.push_back(std::move(scope));
    currentScope_ = index;
}

void VcdReader::readVar()
{
    if (header_.vars.size() >= static_cast<size_t>(kMaxVcdVars))
        fail(Reason(ReasonKind::VcdTooManyVars, {kMaxVcdVars}));
    VcdVar var;
    var.type = expectWord(ReasonKind::VcdWordVarType);
    const std::string_view size = expectWord(ReasonKind::VcdWordVarWidth);
    int64_t width = 0;
    if (!parseInteger(size, width) || width < 1 || width > kMaxVcdWidth)
        fail(Reason(ReasonKind::VcdBadWidth, {kMaxVcdWidth, vcdShown(size)}));
    var.width = static_cast<int32_t>(width);
    const std::string id(expectWord(ReasonKind::VcdWordVarId));
    var.name = expectWord(ReasonKind::VcdWordVarName);
    for (;;) {
        const std::string_view word = tokens_->next();
        if (word.empty()) throw VcdFailure{tokens_->lineNow(), Reason(ReasonKind::VcdNeedEndAtEnd, {"$var"})};
        if (word == "$end") break;
        if (var.index.empty() && word.front() != '[')
            fail(Reason(ReasonKind::VcdNeedIndexOrEnd, {vcdShown(word)}));
        var.index += word;  // "[3:0]", or its pieces "[3" ":0]"
        if (var.index.size() > 64) fail(ReasonKind::VcdIndexTooLong);
    }
    // Some writers join the index to the name: "bus[3:0]".
    if (var.index.empty() && var.name.size() > 1 && var.name.back() == ']') {
        const size_t open = var.name.rfind('[');
        int64_t msb = 0, lsb = 0;
        if (open != std::string::npos && open > 0 && parseRange(std::string_view(var.name).substr(open), msb, lsb)) {
            var.index = var.name.substr(open);
            var.name.resize(open);
        }
    }
    int64_t msb = 0, lsb = 0;
    const bool ranged = parseRange(var.index, msb, lsb);
    if (ranged && (msb >= lsb ? msb - lsb : lsb - msb) == width - 1) {
        var.msb = msb;
        var.lsb = lsb;
    } else {
        var.msb = width - 1;
        var.lsb = 0;
    }

    int32_t slot = ids_->find(id);
    if (slot < 0) {
        slot = header_.slotCount++;
        ids_->add(id, slot);
        slotWidth_.push_back(var.width);
    }
    slotWidth_[static_cast<size_t>(slot)] = std::max(slotWidth_[static_cast<size_t>(slot)], var.width);
    var.slot = slot;
    var.scope = currentScope_;
    const auto index = static_cast<int32_t>(header_.vars.size());
    if (currentScope_ >= 0) header_.scopes[static_cast<size_t>(currentScope_)].vars.push_back(index);
    else header_.topVars.push_back(index);
    header_.vars.push_back(std::move(var));
}

void VcdReader::watch(int32_t slot)
{
    if (slot >= 0 && static_cast<size_t>(slot) < watched_.size()) watched_[static_cast<size_t>(slot)] = 1;
}

inline int32_t VcdReader::slotOf(std::string_view id) const
{
    const int32_t slot = ids_->find(id);
    if (slot < 0) [[unlikely]]
        undeclared(id);
    return slot;
}

void VcdReader::undeclared(std::string_view id) const
{
    fail(Reason(ReasonKind::VcdUndeclaredId, {vcdShown(id)}));
}

VcdReader::Event VcdReader::change(int32_t slot, VcdValue::Kind kind, std::string_view text)
{
    slot_ = slot;
    value_ = {kind, text};
    return Event::Change;
}

VcdReader::Event VcdReader::next()
{
    if (failed_ || !inData_) return Event::Failed;
    try {
        for (;;) {
            const std::string_view word = tokens_->next();
            if (word.empty()) {
                if (!section_.empty())
                    throw VcdFailure{sectionLine_, Reason(ReasonKind::VcdSectionOpenAtEnd, {section_})};
                return Event::End;
            }
            const char first = word[0];
            if (isValueChar(first)) {
                const std::string_view id = word.substr(1);
                if (id.empty()) fail(Reason(ReasonKind::VcdNeedIdAfterValue, {vcdShown(word)}));
                const int32_t slot = slotOf(id);
                if (watched_[static_cast<size_t>(slot)]) return change(slot, VcdValue::Kind::Scalar, word.substr(0, 1));
                continue;
            }
            switch (first) {
            case '#': {
                uint64_t time = 0;
                const char* const end = word.data() + word.size();
                const auto [stop, error] = std::from_chars(word.data() + 1, end, time);
                if (word.size() < 2 || stop != end || (error != std::errc() && error != std::errc::result_out_of_range))
                    fail(Reason(ReasonKind::VcdNeedTime, {vcdShown(word)}));
                if (error == std::errc::result_out_of_range) fail(Reason(ReasonKind::VcdTimeTooLarge, {vcdShown(word)}));
                if (!section_.empty()) fail(Reason(ReasonKind::VcdNeedEndGot, {section_, vcdShown(word)}));
                if (timeGiven_ && time < time_)
                    fail(Reason(ReasonKind::VcdTimeBack, {std::to_string(time_), vcdShown(word)}));
                time_ = time;
                timeGiven_ = true;
                return Event::Time;
            }
            case 'b': case 'B': {
                const std::string_view bits = word.substr(1);
                if (bits.empty() || !std::all_of(bits.begin(), bits.end(), isValueChar))
                    fail(Reason(ReasonKind::VcdNeedBits, {vcdShown(word)}));
                const std::string_view id = tokens_->nextKeepingLast();
                if (id.empty()) fail(Reason(ReasonKind::VcdNeedIdAfterVector, {vcdShown(tokens_->kept())}));
                const int32_t slot = slotOf(id);
                const std::string_view value = tokens_->kept().substr(1);
                const int32_t width = slotWidth_[static_cast<size_t>(slot)];
                if (value.size() > static_cast<size_t>(width))
                    fail(Reason(ReasonKind::VcdVectorTooWide, {value.size(), vcdShown(id), width}));
                if (watched_[static_cast<size_t>(slot)]) return change(slot, VcdValue::Kind::Vector, value);
                continue;
            }
            case 'r': case 'R': case 's': case 'S': {
                const bool real = first == 'r' || first == 'R';
                if (real) {
                    double number = 0;
                    const char* const end = word.data() + word.size();
                    const auto [stop, error] = std::from_chars(word.data() + 1, end, number);
                    if (word.size() < 2 || stop != end || (error != std::errc() && error != std::errc::result_out_of_range))
                        fail(Reason(ReasonKind::VcdNeedReal, {vcdShown(word)}));
                }
                const std::string_view id = tokens_->nextKeepingLast();
                if (id.empty()) fail(Reason(ReasonKind::VcdNeedIdAfterValue, {vcdShown(tokens_->kept())}));
                const int32_t slot = slotOf(id);
                if (watched_[static_cast<size_t>(slot)])
                    return change(slot, real ? VcdValue::Kind::Real : VcdValue::Kind::Text, tokens_->kept().substr(1));
                continue;
            }
            case '$': {
                if (isDataKeyword(word)) {
                    if (!section_.empty())
                        fail(Reason(ReasonKind::VcdNeedEndGot, {section_, vcdShown(word)}));
                    section_ = word;
                    sectionLine_ = tokens_->line();
                    if (word == "$dumpoff") return Event::DumpOff;
                    continue;
                }
                if (word == "$end") {
                    if (section_.empty()) fail(ReasonKind::VcdEndWithoutSection);
                    section_.clear();
                    continue;
                }
                if (word == "$comment") {
                    skipToEnd(std::string(word));
                    continue;
                }
                break;
            }
            default:
                break;
            }
            fail(Reason(ReasonKind::VcdNeedChange, {vcdShown(word)}));
        }
    } catch (const VcdFailure& failure) {
        failed_ = true;
        error_ = {failure.line, failure.reason};
        return Event::Failed;
    }
}

}  // namespace solvena
