#pragma once

// One line (or block) of a channel list: a program of a scanned transport stream with what a
// player needs to tune it and pick its streams. The collection (channel_collection.h) fills
// these from the scan result; the writers only format them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lib13818/delivery/delivery.h"

namespace kestrel::channels {

// An elementary stream a player selects: its PID, stream type and languages ("deu",
// "deu+eng"; "" when none is signalled).
struct stream_pid {
    std::int32_t pid = 0;
    std::int32_t stream_type = 0;
    std::string language;
    // For audio carried as stream type 0x06: the tag of the descriptor that made it audio
    // (0x6A AC-3, 0x7A enhanced AC-3, 0x7C AAC); 0 for the audio stream types.
    std::int32_t audio_descriptor_tag = 0;
};

// How the transport stream of an entry is tuned. Frequencies as received: the transponder's
// for satellites (not the LNB's intermediate frequency), the centre frequency otherwise.
struct channel_tuning {
    lib13818::DeliverySystem system = lib13818::DeliverySystem::dvb_s;
    std::int64_t frequency_khz = 0;
    std::int32_t polarisation = 0;  // 0 H, 1 V, 2 L, 3 R (satellite)
    std::int64_t symbol_rate = 0;   // symbols per second (satellite and cable)
    // The record of the scan; a DVB-T2 entry always names its PLP (0 when none was named).
    lib13818::Delivery delivery;
    std::optional<std::int32_t> orbital_tenths;  // east positive, west negative; unknown: none
    std::int32_t diseqc_position = 0;
};

struct channel_entry {
    std::string name;  // UTF-8; "<service not in sdt>" when the SDT has none
    std::string provider;
    std::int32_t service_id = 0;
    std::int32_t original_network_id = 0;
    std::int32_t transport_stream_id = 0;
    std::int32_t pcr_pid = 0;  // 0 without a PMT
    std::optional<stream_pid> video;
    std::vector<stream_pid> audio;
    std::optional<stream_pid> teletext;
    std::vector<stream_pid> subtitles;
    std::vector<std::int32_t> ca_system_ids;  // each once, in the PMT's order
    channel_tuning tuning;
    std::optional<std::int32_t> logical_channel;
    bool visible = true;  // visible_service_flag of the logical channel number
};

}  // namespace kestrel::channels
