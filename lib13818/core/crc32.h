#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace lib13818 {

// The MPEG-2 systems CRC-32 (ISO/IEC 13818-1 Annex A): polynomial 0x04C11DB7, most
// significant bit first, preset 0xFFFFFFFF, no reflection, no final inversion.
// Over a whole section, CRC_32 field included, an intact section gives 0.
inline constexpr std::uint32_t crc32_preset = 0xFFFFFFFFu;

// The 256-entry table of the byte-wise definition, filled once on first use.
const std::array<std::uint32_t, 256>& crc32_table();

// The byte-wise definition: one table lookup per byte. The faster ones below must give
// exactly its values.
std::uint32_t crc32_bytewise(const std::uint8_t* data, std::size_t size, std::uint32_t crc = crc32_preset);

// Eight bytes a step through eight derived tables; runs on any processor.
std::uint32_t crc32_slice8(const std::uint8_t* data, std::size_t size, std::uint32_t crc = crc32_preset);

// Carry-less multiplication folding, 64 bytes a step (x86 PCLMULQDQ). Call it only when
// crc32_fold_available() says the processor has the instructions.
std::uint32_t crc32_fold(const std::uint8_t* data, std::size_t size, std::uint32_t crc = crc32_preset);
bool crc32_fold_available();

// The same value, computed by the fastest method this processor offers.
std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = crc32_preset);

// Fills in the CRC_32 of a long-form section: the last four bytes become the CRC of the
// bytes before them, so that the CRC over the whole section gives 0. Needs four bytes at least.
void seal_section(std::span<std::uint8_t> section);

}  // namespace lib13818
