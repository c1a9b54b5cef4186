#pragma once
// The part of a text that can show where a canvas puts it. A signal name may be
// megabytes long and its cell a few hundred pixels wide: only the units at the end
// the text is anchored by, up to where they run well past the box, are laid out. A
// text that fits is laid out whole, as it always was. Every canvas cuts texts this
// way, so that the screen, the bitmap, the vector files and the metafile agree.

#include "render/BasicCanvas.h"

#include <QFont>
#include <QString>
#include <QTextLayout>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace solvena {

// Which end of a text stays where it is put, and how far its box reaches from there.
struct TextWindow {
    enum class Anchor : uint8_t {
        Whole,  // nothing is cut: no box, a centred text or a short one
        Left,   // the text starts at its point or at the box's left
        Right,  // the text ends at the box's right
    };
    Anchor anchor = Anchor::Whole;
    int64_t room = 0;  // pixels from the anchor across the box; 0 when it has none
    bool operator==(const TextWindow&) const = default;
};

// Texts of at most this many bytes are never cut: a cut piece is never shorter.
inline constexpr size_t kShortTextBytes = 256;

// The window of a CP932 text of `bytes` bytes shown at `spot`.
TextWindow textWindow(const TextSpot& spot, size_t bytes);

// The CP932 text as it is laid out in `window` with `font`: all of it when it fits
// the window or is not to be cut; else the shortest piece at the anchor, among pieces
// of kShortTextBytes units doubled and doubled again, that is wider than the room by
// two font heights (so that no glyph beyond it reaches into the box), or that has four
// units for every pixel of room and margin (a text of glyphs without width).
QString shownText(const std::string& cp932, const QFont& font, TextWindow window);

// Where each UTF-16 unit of `text` begins, from one layout of it with `font`, and the
// advance of each: begin(i + 1) - begin(i), begin(0) = 0 and the last ending at the
// text's width, each begin rounded on its own so that rounding never piles up. The
// two units of a surrogate pair begin together: the pair's advance is on its first.
std::vector<int32_t> unitAdvances(const QString& text, const QFont& font);

// Lays `layout` out as the painter draws a text: one line that never wraps, at (0, 0).
QTextLine layOutOneLine(QTextLayout& layout);

// Laid-out texts of one font by what they are made from: short texts by their bytes,
// long ones by their bytes and window. It starts over, telling its owner, when it
// holds `maxTexts` texts or long texts of more than `maxLongBytes` bytes.
template <typename Laid>
class TextCache {
public:
    TextCache(size_t maxTexts, size_t maxLongBytes, std::function<void()> startingOver = {})
        : maxTexts_(maxTexts), maxLongBytes_(maxLongBytes), startingOver_(std::move(startingOver))
    {
    }

    // The laid-out text, made by make(shownText(...)) the first time.
    template <typename Make>
    Laid& get(const std::string& cp932, TextWindow window, const QFont& font, Make&& make)
    {
        if (window.anchor == TextWindow::Anchor::Whole && cp932.size() <= kShortTextBytes) {
            Recent* recent = nullptr;
            if (!cp932.empty() && cp932.size() <= Recent::kBytes) {
                recent = &recent_[(cp932.size() + uint8_t(cp932.front()) + 3u * uint8_t(cp932.back())) %
                                  recent_.size()];
                if (recent->laid && recent->size == cp932.size() &&
                    std::memcmp(recent->bytes.data(), cp932.data(), cp932.size()) == 0)
                    return *recent->laid;
            }
            auto found = short_.find(cp932);
            if (found == short_.end()) {
                makeRoom(0);
                found = short_.emplace(cp932, make(shownText(cp932, font, window))).first;
            }
            if (recent) {
                std::memcpy(recent->bytes.data(), cp932.data(), cp932.size());
                recent->size = uint8_t(cp932.size());
                recent->laid = &found->second;
            }
            return found->second;
        }
        // Looked up without copying the text, which may be megabytes long.
        if (auto found = long_.find(KeyView{cp932, window}); found != long_.end())
            return found->second;
        makeRoom(cp932.size());
        longBytes_ += cp932.size();
        Laid laid = make(shownText(cp932, font, window));
        return long_.emplace(Key{cp932, window}, std::move(laid)).first->second;
    }

    void clear()
    {
        recent_.fill(Recent{});
        short_.clear();
        long_.clear();
        longBytes_ = 0;
    }

private:
    struct Key {
        std::string cp932;
        TextWindow window;
    };
    struct KeyView {
        std::string_view cp932;
        TextWindow window;
    };
    struct KeyHash {
        using is_transparent = void;
        size_t operator()(const KeyView& key) const
        {
            return std::hash<std::string_view>()(key.cp932) ^
                   (std::hash<int64_t>()(key.window.room) * 3 + size_t(key.window.anchor));
        }
        size_t operator()(const Key& key) const { return (*this)(KeyView{key.cp932, key.window}); }
    };
    struct KeyEqual {
        using is_transparent = void;
        static KeyView view(const Key& key) { return {key.cp932, key.window}; }
        static KeyView view(const KeyView& key) { return key; }
        template <typename A, typename B>
        bool operator()(const A& a, const B& b) const
        {
            return view(a).window == view(b).window && view(a).cp932 == view(b).cp932;
        }
    };

    void makeRoom(size_t longBytes)
    {
        if (short_.size() + long_.size() < maxTexts_ && longBytes_ + longBytes <= maxLongBytes_)
            return;
        clear();
        if (startingOver_)
            startingOver_();
    }

    // The last few short texts found, by a cheap hash of their bytes: a chart repeats
    // a few labels thousands of times, and these are found without hashing them whole.
    struct Recent {
        static constexpr size_t kBytes = 15;
        std::array<char, kBytes> bytes{};
        uint8_t size = 0;
        Laid* laid = nullptr;
    };
    std::array<Recent, 8> recent_{};
    size_t maxTexts_;
    size_t maxLongBytes_;
    std::function<void()> startingOver_;
    std::unordered_map<std::string, Laid> short_;
    std::unordered_map<Key, Laid, KeyHash, KeyEqual> long_;
    size_t longBytes_ = 0;
};

}  // namespace solvena
