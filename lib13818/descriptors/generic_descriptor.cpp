#include "lib13818/descriptors/generic_descriptor.h"

#include "lib13818/core/hex_dump.h"

namespace lib13818 {

DescriptorGeneric::DescriptorGeneric(reader r) : Descriptor(r) {
    const std::uint8_t* p = r.bytes(static_cast<std::size_t>(descriptor_length));
    data.assign(p, p + descriptor_length);
}

const char* DescriptorGeneric::name() const {
    return descriptor_tag_name(descriptor_tag);
}

void DescriptorGeneric::dump_body(std::ostream& out) const {
    out << "data:\n";
    hex_dump(out, data);
}

const char* descriptor_tag_name(int32_t tag) {
    static const char* const names[] = {
        "Reserved",
        "Reserved",
        "video_stream_descriptor",
        "audio_stream_descriptor",
        "hierachy_descriptor",
        "registration_descriptor",
        "data_streeam_descriptor",
        "target_background_grid_descriptor",
        "video_window_descriptor",
        "CA_descriptor",
        "ISO_639_language_descriptor",
        "system_clock_descriptor",
        "multiplex_buffer_utilization_descriptor",
        "copyright_descriptor",
        "maximum_bitrate_descriptor",
        "private_data_indicator_descriptor",
        "smootihing_descriptor",
        "STD_descriptor",
        "IBP_descriptor",
    };
    if (tag >= 0 && tag < static_cast<int32_t>(std::size(names))) return names[tag];
    return tag >= 64 ? "User Private" : "Reserved";
}

}  // namespace lib13818
