#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace lib13818 {

// The one exception of the table library. Kind-coded faults carry no message;
// message faults have kind -1. `where` points into the section that was parsed,
// or is all ones when the thrower knows no position.
class error : public std::exception {
  public:
    static constexpr int32_t kind_message = -1;
    static constexpr int32_t kind_syntax = 2;
    static constexpr int32_t kind_pat_loop = 3;

    error(int32_t kind, const std::uint8_t* where) : kind(kind), where(where) {}
    explicit error(int32_t kind) : kind(kind) {}
    explicit error(std::string message) : message(std::move(message)) {}
    // A message fault that also knows where it was found (bounds faults of the reader).
    error(std::string message, const std::uint8_t* where) : where(where), message(std::move(message)) {}

    const char* what() const noexcept override { return message.c_str(); }

    // True when the thrower gave a position.
    bool has_where() const { return where != no_where(); }
    static const std::uint8_t* no_where() {
        return reinterpret_cast<const std::uint8_t*>(~std::uintptr_t{0});
    }

    int32_t kind = kind_message;
    const std::uint8_t* where = no_where();
    std::string message;
};

// The messages the library throws, spelt once.
namespace messages {
inline constexpr const char* crc_error = "crc error";
inline constexpr const char* invalid_table_id = "invalid table id";
inline constexpr const char* invalid_descriptor_size = "invalid descriptor size";
inline constexpr const char* invalid_descriptor_tag = "invalid descriptor tag";
inline constexpr const char* start_end_mismatch = "descriptor start end mismatch";
inline constexpr const char* too_little_data = "too little data";
inline constexpr const char* descriptor_length_mismatch = "descriptor length mismatch";
inline constexpr const char* data_length_mismatch = "data length mismatch";
}  // namespace messages

}  // namespace lib13818
