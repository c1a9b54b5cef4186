#pragma once
// Where a writer puts a file's bytes as it makes them: a file being written, standard
// output, memory. Large pictures stream through one, never held twice.

#include <string>
#include <string_view>
#include <utility>

namespace solvena {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Takes the next bytes. A sink that fails remembers why, ignores what follows and
    // reports it to whoever owns it once the writer is done.
    virtual void write(std::string_view bytes) = 0;
};

// Collects the bytes in memory.
class StringSink final : public ByteSink {
public:
    void write(std::string_view bytes) override { bytes_.append(bytes); }
    const std::string& bytes() const { return bytes_; }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

}  // namespace solvena
