#pragma once
// A reader of the metafiles the writer makes, for tests: checks the framing (record
// sizes, header counts, EOF) and replays the drawing against a handle table, counting
// every state record that changed nothing.

#include "pictures/EmfWriter.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace solvena {

struct EmfRecordView {
    uint32_t type = 0;
    std::string_view bytes;  // the whole record

    uint32_t u32(size_t at) const { return u16(at) | uint32_t(u16(at + 2)) << 16; }
    int32_t i32(size_t at) const { return static_cast<int32_t>(u32(at)); }
    uint16_t u16(size_t at) const { return uint16_t(uint8_t(bytes.at(at)) | uint8_t(bytes.at(at + 1)) << 8); }
    CanvasRect rect(size_t at) const { return {i32(at), i32(at + 4), i32(at + 8), i32(at + 12)}; }
    // EXTTEXTOUTW's string and advances, found through its offsets.
    std::u16string text() const
    {
        std::u16string s;
        for (uint32_t i = 0; i < u32(44); ++i)
            s.push_back(char16_t(u16(u32(48) + 2 * i)));
        return s;
    }
    std::vector<int32_t> dx() const
    {
        std::vector<int32_t> d;
        for (uint32_t i = 0; i < u32(44); ++i)
            d.push_back(i32(u32(72) + 4 * i));
        return d;
    }
};

inline std::vector<EmfRecordView> parseEmf(std::string_view bytes)
{
    std::vector<EmfRecordView> records;
    size_t at = 0;
    while (at + 8 <= bytes.size() && (records.empty() || records.back().type != EmfRecord::Eof)) {
        const uint32_t size = EmfRecordView{0, bytes.substr(at, 8)}.u32(4);
        if (size < 8 || size % 4 != 0 || at + size > bytes.size()) {
            ADD_FAILURE() << "bad size " << size << " of record " << records.size();
            return records;
        }
        records.push_back({EmfRecordView{0, bytes.substr(at, 4)}.u32(0), bytes.substr(at, size)});
        at += size;
    }
    EXPECT_EQ(at, bytes.size()) << "bytes after EOF or a cut record";
    if (records.empty())
        return records;
    EXPECT_EQ(records.front().type, EmfRecord::Header);
    EXPECT_EQ(records.front().bytes.size(), 108u);
    EXPECT_EQ(records.front().u32(40), 0x464D4520u);
    EXPECT_EQ(records.front().u32(48), bytes.size()) << "nBytes";
    EXPECT_EQ(records.front().u32(52), records.size()) << "nRecords";
    EXPECT_EQ(records.back().type, EmfRecord::Eof);
    EXPECT_EQ(records.back().u32(16), 20u) << "nSizeLast";
    return records;
}

// What a metafile draws, replayed.
struct EmfPlayback {
    struct Segment {
        CanvasPoint from, to;
        bool operator==(const Segment&) const = default;
    };
    struct Text {
        CanvasPoint at;
        std::u16string units;
        std::vector<int32_t> dx;
        std::optional<CanvasRect> clip;
    };
    std::vector<Segment> segments;  // lines, but for the outlines of fills
    std::vector<std::vector<CanvasPoint>> polygons;
    std::vector<Segment> outlines;  // the edges of a fill, drawn as lines right after it
    std::vector<Text> texts;
    int redundant = 0;  // selections, moves, colours and modes that changed nothing
    int objectsCreated = 0;
    // Lines that rely on a reader keeping state across other records: a LINETO that
    // does not follow a MOVETOEX or a LINETO, or one drawn with a brush other than
    // the null brush (readers that fill paths would fill the run).
    int unanchoredLines = 0;
    int filledLines = 0;

    explicit EmfPlayback(const std::vector<EmfRecordView>& records)
    {
        const uint32_t tableSize = records.at(0).u16(56);
        std::map<uint32_t, uint32_t> live = {{EmfWriter::kNullPen, EmfRecord::CreatePen},
                                             {EmfWriter::kNullBrush, EmfRecord::CreateBrushIndirect}};
        std::map<uint32_t, uint32_t> selected;  // by creating record type
        std::optional<CanvasPoint> position;
        std::map<uint32_t, uint32_t> modes;  // SETBKMODE, SETTEXTCOLOR, SETTEXTALIGN
        std::optional<CanvasRect> clip;
        bool saved = false;
        bool inRun = false;  // the record before was a move or a line
        size_t outlineEdge = 0;  // of the last fill, the next edge its outline draws
        for (const EmfRecordView& r : records) {
            const uint32_t t = r.type;
            const bool runGoesOn = inRun;
            inRun = t == EmfRecord::MoveToEx || t == EmfRecord::LineTo;
            if (saved && t != EmfRecord::IntersectClipRect && t != EmfRecord::ExtTextOutW && t != EmfRecord::RestoreDC)
                ADD_FAILURE() << "record " << t << " in a saved DC";
            if (t == EmfRecord::CreatePen || t == EmfRecord::CreateBrushIndirect || t == EmfRecord::ExtCreateFontIndirectW) {
                EXPECT_TRUE(r.u32(8) > 0 && r.u32(8) < tableSize && !live.count(r.u32(8))) << "create " << r.u32(8);
                live[r.u32(8)] = t;
                ++objectsCreated;
            } else if (t == EmfRecord::SelectObject) {
                if (!live.count(r.u32(8))) {
                    ADD_FAILURE() << "select of unknown handle " << r.u32(8);
                    continue;
                }
                redundant += selected[live[r.u32(8)]] == r.u32(8);
                selected[live[r.u32(8)]] = r.u32(8);
            } else if (t == EmfRecord::DeleteObject) {
                if (!live.count(r.u32(8))) {
                    ADD_FAILURE() << "delete of unknown handle " << r.u32(8);
                    continue;
                }
                EXPECT_NE(selected[live[r.u32(8)]], r.u32(8)) << "deleted while selected";
                live.erase(r.u32(8));
            } else if (t == EmfRecord::SetBkMode || t == EmfRecord::SetTextColor || t == EmfRecord::SetTextAlign) {
                redundant += modes.count(t) && modes[t] == r.u32(8);
                modes[t] = r.u32(8);
            } else if (t == EmfRecord::MoveToEx || t == EmfRecord::LineTo) {
                const CanvasPoint p{r.i32(8), r.i32(12)};
                if (t == EmfRecord::MoveToEx) {
                    redundant += runGoesOn && position == p;
                } else {
                    EXPECT_TRUE(position && selected[EmfRecord::CreatePen]) << "line without a start or a pen";
                    unanchoredLines += !runGoesOn;
                    filledLines += selected[EmfRecord::CreateBrushIndirect] != EmfWriter::kNullBrush;
                    const Segment segment{position.value_or(CanvasPoint{}), p};
                    const std::vector<CanvasPoint>* fill = polygons.empty() ? nullptr : &polygons.back();
                    if (fill && outlineEdge < fill->size() &&
                        segment == Segment{(*fill)[outlineEdge], (*fill)[(outlineEdge + 1) % fill->size()]}) {
                        outlines.push_back(segment);
                        ++outlineEdge;
                    } else {
                        segments.push_back(segment);
                        outlineEdge = SIZE_MAX;
                    }
                }
                position = p;
            } else if (t == EmfRecord::Polygon16) {
                polygons.emplace_back();
                for (uint32_t i = 0; i < r.u32(24); ++i)
                    polygons.back().push_back({int16_t(r.u16(28 + 4 * i)), int16_t(r.u16(30 + 4 * i))});
                outlineEdge = 0;
            } else if (t == EmfRecord::SaveDC || t == EmfRecord::RestoreDC) {
                EXPECT_NE(saved, t == EmfRecord::SaveDC) << "unbalanced SAVEDC / RESTOREDC";
                saved = t == EmfRecord::SaveDC;
                clip.reset();
            } else if (t == EmfRecord::IntersectClipRect) {
                clip = r.rect(8);
            } else if (t == EmfRecord::ExtTextOutW) {
                EXPECT_TRUE(selected[EmfRecord::ExtCreateFontIndirectW] && modes.count(EmfRecord::SetTextColor));
                EXPECT_EQ(modes[EmfRecord::SetBkMode], EmfWriter::kTransparent);
                texts.push_back({{r.i32(36), r.i32(40)}, r.text(), r.dx(), clip});
            }
        }
        EXPECT_FALSE(saved) << "SAVEDC never restored";
    }
};

}  // namespace solvena
