// The metafile another build of the program wrote (the Windows build, under Wine), read
// through the tests' own reader and set against the metafile this build writes of the
// same chart: scripts/build-windows.sh runs it as
//
//   SOLVENA_EMF_CHECK=windows.emf SOLVENA_EMF_REFERENCE=linux.emf emf-check
//
// The lines, fills and texts must be the same; where text is placed and how wide each
// character is come from the fonts of the system that wrote it, so they are not compared.
#include "EmfParser.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

using namespace solvena;

namespace {

std::string fileNamed(const char* variable)
{
    const char* path = std::getenv(variable);
    if (!path || !*path) {
        ADD_FAILURE() << variable << " names no file";
        return {};
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::u16string> textsOf(const EmfPlayback& playback)
{
    std::vector<std::u16string> texts;
    for (const EmfPlayback::Text& text : playback.texts)
        texts.push_back(text.units);
    return texts;
}

TEST(EmfCheck, DrawsWhatTheReferenceDraws)
{
    const std::string checked = fileNamed("SOLVENA_EMF_CHECK");
    const std::string reference = fileNamed("SOLVENA_EMF_REFERENCE");
    ASSERT_FALSE(checked.empty() || reference.empty());

    const std::vector<EmfRecordView> records = parseEmf(checked);
    ASSERT_FALSE(HasFailure()) << "the metafile's framing";
    const EmfPlayback drawn(records);
    const EmfPlayback expected(parseEmf(reference));
    ASSERT_FALSE(HasFailure());

    EXPECT_EQ(drawn.unanchoredLines, 0);
    EXPECT_EQ(drawn.filledLines, 0);
    EXPECT_EQ(drawn.redundant, expected.redundant);
    EXPECT_EQ(records.front().rect(8), parseEmf(reference).front().rect(8)) << "rclBounds";
    EXPECT_TRUE(drawn.segments == expected.segments) << drawn.segments.size() << " lines, " << expected.segments.size() << " expected";
    EXPECT_TRUE(drawn.polygons == expected.polygons) << drawn.polygons.size() << " fills, " << expected.polygons.size() << " expected";
    EXPECT_TRUE(drawn.outlines == expected.outlines);
    EXPECT_TRUE(textsOf(drawn) == textsOf(expected)) << drawn.texts.size() << " texts, " << expected.texts.size() << " expected";
}

}  // namespace
