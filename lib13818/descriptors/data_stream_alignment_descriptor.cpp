#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

// Video streams use 1-4, audio streams 1 (sync word).
constexpr value_name alignment_types[] = {
    {1, "slice or video access unit (audio: sync word)"},
    {2, "video access unit"},
    {3, "GOP or SEQ"},
    {4, "SEQ"},
};

constexpr field fields[] = {coded("alignment_type", 8, alignment_types)};
}  // namespace

// data_stream_alignment_descriptor, tag 0x06 (ISO/IEC 13818-1:2018 clause 2.6.10): the syntax element
// each PES packet's payload starts with.
constexpr description data_stream_alignment{
    .name = "data_stream_alignment_descriptor", .tag = 0x06, .body = {"", fields}};

}  // namespace lib13818::descriptions
