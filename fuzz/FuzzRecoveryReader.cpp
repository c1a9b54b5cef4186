// Feeds arbitrary bytes to the recovery file reader. Whatever it accepts must write and
// read back to the same origin and chart; AddressSanitizer watches that no length in
// the header takes the reader beyond the bytes.
#include "storage/RecoveryFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace solvena;

namespace {

void require(bool condition, const char* what)
{
    if (condition) return;
    std::fprintf(stderr, "recovery reader property broken: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RecoveryLoadResult first = readRecovery(bytes);
    if (!first.ok) {
        require(first.chart.chart == nullptr, "failure still returned a chart");
        require(!first.error.empty(), "failure without a reason");
        require(first.origin.path.empty() && !first.origin.identity, "failure still returned an origin");
        return 0;
    }
    require(first.chart.chart != nullptr, "accepted without a chart");
    require(first.origin.path.size() <= size, "a path longer than the input");

    const std::string saved = writeRecovery(*first.chart.chart, first.chart.layout(), first.origin);
    const RecoveryLoadResult second = readRecovery(saved);
    require(second.ok, "a written copy does not read back");
    require(second.origin.path == first.origin.path, "the path changed");
    require(second.origin.identity == first.origin.identity, "the identity changed");
    require(writeRecovery(*second.chart.chart, second.chart.layout(), second.origin) == saved,
            "a second write differs");
    return 0;
}
