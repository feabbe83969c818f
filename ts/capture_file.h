#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ts/packet_format.h"

namespace kestrel::ts {

// A capture file read front to back in large blocks, its packet layout detected from the
// first block. Each block starts with the bytes the reader left of the previous one (a
// packet cut by the block boundary), so that packets are always seen whole.
class capture_file {
  public:
    static constexpr std::size_t block_size = std::size_t{1} << 18;

    capture_file() = default;
    capture_file(const capture_file&) = delete;
    capture_file& operator=(const capture_file&) = delete;
    ~capture_file();

    // Opens the file and detects its layout. Returns an empty string, or a one-line
    // reason that names the file ("no transport stream" when no layout fits).
    std::string open(const std::string& path);

    const packet_format& format() const { return format_; }
    std::uint64_t size() const { return size_; }

    struct block {
        std::span<const std::uint8_t> data;
        bool last = false;  // the file ends with this block
    };
    // The next block: the previous block's bytes from `consumed` on, then fresh bytes.
    // A read failure ends the file early; error() then says why.
    block next(std::size_t consumed);

    // Goes back to the start of the file, for replaying it in a loop.
    void rewind();

    const std::string& error() const { return error_; }

  private:
    // Fills the buffer behind the kept bytes; false on a read failure.
    bool fill();

    std::string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
    packet_format format_;
    std::vector<std::uint8_t> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool fresh_ = false;  // the first block, read by open, is still to be handed out
    std::string error_;
};

}  // namespace kestrel::ts
