#pragma once
// A reader of the metafiles the writer makes, for tests: walks the records, checks
// the framing (sizes, header counts, EOF) and replays the drawing records against a
// handle table, noting every state change that changed nothing.

#include "render/Canvas.h"
#include "render/EmfWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

struct EmfRecordView {
    uint32_t type = 0;
    std::string_view bytes;  // the whole record

    uint32_t u32(size_t at) const
    {
        uint32_t v = 0;
        for (size_t i = 0; i < 4; ++i)
            v |= uint32_t(uint8_t(bytes.at(at + i))) << (8 * i);
        return v;
    }
    int32_t i32(size_t at) const { return static_cast<int32_t>(u32(at)); }
    uint16_t u16(size_t at) const
    {
        return uint16_t(uint8_t(bytes.at(at)) | (uint8_t(bytes.at(at + 1)) << 8));
    }
    CanvasRect rect(size_t at) const { return {i32(at), i32(at + 4), i32(at + 8), i32(at + 12)}; }

    // EXTTEXTOUTW: the string and the advances, found through the record's offsets.
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

// Splits the bytes into records, failing the test where the framing is wrong.
inline std::vector<EmfRecordView> parseEmf(std::string_view bytes)
{
    std::vector<EmfRecordView> records;
    size_t at = 0;
    while (at + 8 <= bytes.size()) {
        EmfRecordView head{0, bytes.substr(at, 8)};
        const uint32_t size = head.u32(4);
        if (size < 8 || size % 4 != 0 || at + size > bytes.size()) {
            ADD_FAILURE() << "bad size " << size << " of record " << records.size();
            return records;
        }
        records.push_back({head.u32(0), bytes.substr(at, size)});
        at += size;
        if (records.back().type == EmfRecord::Eof)
            break;
    }
    EXPECT_EQ(at, bytes.size()) << "bytes after EOF or a cut record";
    if (records.empty())
        return records;
    const EmfRecordView& header = records.front();
    EXPECT_EQ(header.type, EmfRecord::Header);
    EXPECT_EQ(header.bytes.size(), 108u);
    EXPECT_EQ(header.u32(40), 0x464D4520u);
    EXPECT_EQ(header.u32(48), bytes.size()) << "nBytes";
    EXPECT_EQ(header.u32(52), records.size()) << "nRecords";
    EXPECT_EQ(records.back().type, EmfRecord::Eof);
    EXPECT_EQ(records.back().bytes.size(), 20u);
    EXPECT_EQ(records.back().u32(16), 20u) << "nSizeLast";
    return records;
}

// What a metafile draws, replayed, with the redundancies found on the way.
struct EmfPlayback {
    struct Segment {
        CanvasPoint from;
        CanvasPoint to;
        bool operator==(const Segment&) const = default;
    };
    struct Text {
        CanvasPoint at;
        std::u16string units;
        std::vector<int32_t> dx;
        std::optional<CanvasRect> clip;
    };
    std::vector<Segment> segments;
    std::vector<std::vector<CanvasPoint>> polygons;
    std::vector<Text> texts;
    int redundant = 0;  // selections, colours, moves and modes that changed nothing
    int objectsCreated = 0;

    explicit EmfPlayback(const std::vector<EmfRecordView>& records)
    {
        const uint32_t tableSize = records.empty() ? 0 : records.front().u16(56);
        std::set<uint32_t> live;
        uint32_t selected[3] = {};  // pen, brush, font
        std::optional<CanvasPoint> position;
        std::optional<uint32_t> textColor, bkMode;
        std::optional<CanvasRect> clip;
        std::vector<uint32_t> kinds(tableSize, 0);
        bool saved = false;
        for (const EmfRecordView& r : records) {
            // Between SAVEDC and RESTOREDC only the clip and the text itself.
            if (saved) {
                EXPECT_TRUE(r.type == EmfRecord::IntersectClipRect || r.type == EmfRecord::ExtTextOutW ||
                            r.type == EmfRecord::RestoreDC) << "record " << r.type << " in a saved DC";
            }
            switch (r.type) {
            case EmfRecord::SaveDC:
                EXPECT_FALSE(saved) << "nested SAVEDC";
                saved = true;
                break;
            case EmfRecord::CreatePen:
            case EmfRecord::CreateBrushIndirect:
            case EmfRecord::ExtCreateFontIndirectW: {
                const uint32_t h = r.u32(8);
                EXPECT_TRUE(h > 0 && h < tableSize && !live.count(h)) << "handle " << h;
                live.insert(h);
                if (h < tableSize)
                    kinds[h] = r.type == EmfRecord::CreatePen ? 0 : r.type == EmfRecord::CreateBrushIndirect ? 1 : 2;
                ++objectsCreated;
                break;
            }
            case EmfRecord::SelectObject: {
                const uint32_t h = r.u32(8);
                const uint32_t kind = h == EmfWriter::kNullPen ? 0 : h == EmfWriter::kNullBrush ? 1 : h < tableSize ? kinds[h] : 0;
                EXPECT_TRUE(h == EmfWriter::kNullPen || h == EmfWriter::kNullBrush || live.count(h)) << "select " << h;
                redundant += selected[kind] == h;
                selected[kind] = h;
                break;
            }
            case EmfRecord::DeleteObject:
                EXPECT_EQ(live.erase(r.u32(8)), 1u) << "delete " << r.u32(8);
                for (uint32_t& s : selected)
                    EXPECT_NE(s, r.u32(8)) << "deleted while selected";
                break;
            case EmfRecord::MoveToEx:
                redundant += position == CanvasPoint{r.i32(8), r.i32(12)};
                position = CanvasPoint{r.i32(8), r.i32(12)};
                break;
            case EmfRecord::LineTo:
                EXPECT_TRUE(position.has_value()) << "line without a start";
                EXPECT_NE(selected[0], 0u) << "line with the default pen";
                segments.push_back({position.value_or(CanvasPoint{}), {r.i32(8), r.i32(12)}});
                position = CanvasPoint{r.i32(8), r.i32(12)};
                break;
            case EmfRecord::Polygon16: {
                std::vector<CanvasPoint> points;
                for (uint32_t i = 0; i < r.u32(24); ++i)
                    points.push_back({int16_t(r.u16(28 + 4 * i)), int16_t(r.u16(30 + 4 * i))});
                polygons.push_back(points);
                break;
            }
            case EmfRecord::SetTextColor:
                redundant += textColor == r.u32(8);
                textColor = r.u32(8);
                break;
            case EmfRecord::SetBkMode:
                redundant += bkMode == r.u32(8);
                bkMode = r.u32(8);
                break;
            case EmfRecord::IntersectClipRect:
                clip = r.rect(8);
                break;
            case EmfRecord::RestoreDC:
                EXPECT_TRUE(saved) << "RESTOREDC without SAVEDC";
                EXPECT_EQ(r.i32(8), -1);
                saved = false;
                clip.reset();
                break;
            case EmfRecord::ExtTextOutW:
                EXPECT_NE(selected[2], 0u) << "text with the default font";
                EXPECT_EQ(bkMode, EmfWriter::kTransparent);
                EXPECT_TRUE(textColor.has_value());
                texts.push_back({{r.i32(36), r.i32(40)}, r.text(), r.dx(), clip});
                break;
            default:
                break;
            }
        }
        EXPECT_FALSE(saved) << "SAVEDC never restored";
    }
};
