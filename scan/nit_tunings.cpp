#include "scan/nit_tunings.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "device/capture/lock_rule.h"
#include "device/card.h"
#include "lib13818/delivery/delivery_codes.h"
#include "lib13818/fields/catalogue.h"

namespace kestrel {

namespace {

using lib13818::DescriptorDescribed;
namespace descriptions = lib13818::descriptions;

constexpr int cable_coding = 2;
constexpr int terrestrial_coding = 3;

const DescriptorDescribed* first_of(const lib13818::NitTransportStream& entry,
                                    const lib13818::description& kind) {
    for (const DescriptorDescribed& d : entry.described)
        if (d.is(kind)) return &d;
    return nullptr;
}

std::int32_t code(const DescriptorDescribed& d, std::string_view name) {
    return static_cast<std::int32_t>(d.number(name).value_or(0));
}

std::string entry_name(const lib13818::NitTransportStream& entry) {
    char text[64];
    std::snprintf(text, sizeof text, "TSID 0x%04X (ONID 0x%04X)",
                  static_cast<unsigned>(entry.transport_stream_id),
                  static_cast<unsigned>(entry.original_network_id));
    return text;
}

// The centre frequencies, in MHz, of the entry's 0x62 descriptors of one coding type.
void add_listed(const lib13818::NitTransportStream& entry, int coding, std::vector<double>& mhz) {
    for (const DescriptorDescribed& d : entry.described)
        if (d.is(descriptions::frequency_list) && code(d, "coding_type") == coding)
            for (lib13818::described_record f : d.records("frequencies"))
                mhz.push_back(static_cast<double>(f.quantity("centre_frequency").value_or(0)) / 1e6);
}

// A T2 descriptor's frequencies: each cell's centre frequencies, then its transposers.
std::vector<double> cell_frequencies(const DescriptorDescribed& t2) {
    std::vector<double> mhz;
    for (lib13818::described_record cell : t2.records("cells")) {
        for (lib13818::described_record f : cell.records("frequencies"))
            mhz.push_back(static_cast<double>(f.quantity("centre_frequency").value_or(0)) / 1e6);
        for (lib13818::described_record sub : cell.records("subcells"))
            mhz.push_back(static_cast<double>(sub.quantity("transposer_frequency").value_or(0)) / 1e6);
    }
    return mhz;
}

// One tuning per frequency, each frequency once; terrestrial ones outside the band are
// warned about and left out.
void add_frequencies(entry_tunings& out, const TUNERPARM& model, const std::vector<double>& mhz,
                     const lib13818::NitTransportStream& entry) {
    for (const double f : mhz) {
        if (model.type == frontend_dvb_t && !(f >= lowest_terrestrial_mhz && f <= highest_terrestrial_mhz)) {
            char text[160];
            std::snprintf(text, sizeof text, "%s: centre frequency %.3f MHz not tuned (outside 50-1000 MHz)",
                          entry_name(entry).c_str(), f);
            out.warnings.emplace_back(text);
            continue;
        }
        if (model.type == frontend_dvb_c && f <= 0) continue;
        TUNERPARM t = model;
        t.frequency = f;
        bool known = false;
        for (const TUNERPARM& other : out.tunings)
            known = known || same_signal(other, t);
        if (!known) out.tunings.push_back(t);
    }
}

entry_tunings satellite_tunings(const lib13818::NitTransportStream& entry, const walk_context& context) {
    entry_tunings out;
    const lib13818::DescriptorSatelliteDeliverySystem& d = entry.satellite_delivery_system.front();
    TUNERPARM t;
    t.type = frontend_dvb_s;
    t.frequency = d.frequency;
    t.word_a = d.polarization;
    t.word_b = d.FEC_inner;
    t.word_c = static_cast<std::uint32_t>(std::lround(d.symbol_rate * 1'000'000));
    t.word_d = context.position;
    t.word_e = context.twelve_volt;
    t.delivery = satellite_delivery_of(entry);
    if (t.delivery.system == lib13818::DeliverySystem::dvb_s2 && !context.offers_s2) {
        out.skipped = entry_name(entry) + ": DVB-S2, which the frontend does not offer";
        return out;
    }
    out.tunings.push_back(t);
    return out;
}

entry_tunings cable_tunings(const lib13818::NitTransportStream& entry, const DescriptorDescribed& d,
                            const walk_context& context) {
    entry_tunings out;
    TUNERPARM t = context.tuned;  // inversion and bandwidth words as in force
    t.type = frontend_dvb_c;
    t.word_b = static_cast<std::int32_t>(d.quantity("symbol_rate").value_or(0));
    t.delivery = lib13818::cable_delivery({code(d, "modulation"), code(d, "FEC_inner")});
    if (const auto word = qam_word_of(t.delivery.modulation)) t.word_c = *word;
    std::vector<double> mhz{static_cast<double>(d.quantity("frequency").value_or(0)) / 1e6};
    add_listed(entry, cable_coding, mhz);
    add_frequencies(out, t, mhz, entry);
    if (out.tunings.empty()) out.skipped = entry_name(entry) + ": no cable frequency";
    return out;
}

entry_tunings terrestrial_tunings(const lib13818::NitTransportStream& entry, const DescriptorDescribed* dvb_t,
                                  const DescriptorDescribed* t2, const walk_context& context) {
    entry_tunings out;
    TUNERPARM t = context.tuned;  // inversion as in force
    t.type = frontend_dvb_t;
    std::vector<double> mhz;
    if (dvb_t != nullptr) {
        t.delivery = lib13818::terrestrial_delivery(
            {code(*dvb_t, "bandwidth"), code(*dvb_t, "constellation"), code(*dvb_t, "hierarchy_information"),
             code(*dvb_t, "code_rate-HP_stream"), code(*dvb_t, "code_rate-LP_stream"),
             code(*dvb_t, "guard_interval"), code(*dvb_t, "transmission_mode")});
        mhz.push_back(static_cast<double>(dvb_t->quantity("centre_frequency").value_or(0)) / 1e6);
        if (code(*dvb_t, "other_frequency_flag") != 0 || t2 != nullptr)
            add_listed(entry, terrestrial_coding, mhz);
    }
    if (t2 != nullptr) {
        if (!context.offers_t2) {
            out.skipped = entry_name(entry) + ": DVB-T2, which the frontend does not offer";
            return out;
        }
        // The short form names only the PLP: the rest comes from a 0x5A of the loop, if any.
        const auto long_code = [&](std::string_view name) {
            const auto value = t2->number(name);
            return value ? static_cast<std::int32_t>(*value) : lib13818::absent;
        };
        const lib13818::Delivery first_generation = t.delivery;
        t.delivery = lib13818::t2_delivery({code(*t2, "plp_id"), long_code("bandwidth"),
                                            long_code("guard_interval"), long_code("transmission_mode")});
        if (t.delivery.bandwidth_hz == lib13818::automatic)
            t.delivery.bandwidth_hz = first_generation.bandwidth_hz;
        const std::vector<double> cells = cell_frequencies(*t2);
        if (!cells.empty()) mhz = cells;
        if (mhz.empty() && context.tuned.type == static_cast<std::uint32_t>(frontend_dvb_t))
            mhz.push_back(context.tuned.frequency);
    }
    t.word_c = bandwidth_code_of(t.delivery.bandwidth_hz).value_or(3);
    add_frequencies(out, t, mhz, entry);
    if (out.tunings.empty()) out.skipped = entry_name(entry) + ": no frequency to tune";
    return out;
}

bool vertical(std::int32_t polarisation) {
    return polarisation == 1 || polarisation == 3;
}

std::int32_t gold_index(std::int32_t index) {
    return index == lib13818::automatic ? 0 : index;
}

}  // namespace

lib13818::Delivery satellite_delivery_of(const lib13818::NitTransportStream& entry) {
    const lib13818::DescriptorSatelliteDeliverySystem& d = entry.satellite_delivery_system.front();
    lib13818::SatelliteCodes codes = lib13818::satellite_codes(d.modulation, d.FEC_inner);
    const DescriptorDescribed* s2 = first_of(entry, descriptions::S2_satellite_delivery_system);
    if (s2 == nullptr) return lib13818::satellite_delivery(codes);
    if (const auto isi = s2->number("input_stream_identifier"))
        codes.input_stream_identifier = static_cast<std::int32_t>(*isi);
    if (const auto index = s2->number("scrambling_sequence_index"))
        codes.scrambling_sequence_index = static_cast<std::int32_t>(*index);
    lib13818::Delivery delivery = lib13818::satellite_delivery(codes);
    // The companion descriptor exists for DVB-S2 signals only, whatever the system bit says.
    delivery.system = lib13818::DeliverySystem::dvb_s2;
    return delivery;
}

entry_tunings tunings_of(const lib13818::NitTransportStream& entry, const walk_context& context) {
    const DescriptorDescribed* cable = first_of(entry, descriptions::cable_delivery_system);
    const DescriptorDescribed* dvb_t = first_of(entry, descriptions::terrestrial_delivery_system);
    const DescriptorDescribed* t2 = first_of(entry, descriptions::T2_delivery_system);
    const bool satellite = !entry.satellite_delivery_system.empty();
    if (context.frontend == frontend_dvb_s && satellite) return satellite_tunings(entry, context);
    if (context.frontend == frontend_dvb_c && cable != nullptr) return cable_tunings(entry, *cable, context);
    if (context.frontend == frontend_dvb_t && (dvb_t != nullptr || t2 != nullptr))
        return terrestrial_tunings(entry, dvb_t, t2, context);
    entry_tunings out;
    // Without any delivery descriptor only the transport stream being received can be
    // meant: it is scanned where the card stands.
    if (!satellite && cable == nullptr && dvb_t == nullptr && t2 == nullptr)
        out.tunings.push_back(context.tuned);
    else
        out.skipped =
            entry_name(entry) + ": no " + frontend_type_name(context.frontend) + " delivery descriptor";
    return out;
}

bool same_signal(const TUNERPARM& a, const TUNERPARM& b) {
    if (a.type != b.type || a.delivery.stream_id != b.delivery.stream_id) return false;
    const std::int32_t type = static_cast<std::int32_t>(a.type);
    const double khz_per_unit = type == frontend_dvb_s ? 1e6 : 1e3;  // GHz or MHz
    if (std::abs(a.frequency - b.frequency) * khz_per_unit > static_cast<double>(lock_tolerance_khz(type)))
        return false;
    if (type != frontend_dvb_s) return true;
    return a.word_d == b.word_d && vertical(a.word_a) == vertical(b.word_a) &&
           gold_index(a.delivery.scrambling_index) == gold_index(b.delivery.scrambling_index);
}

std::string tuning_text(const TUNERPARM& tuning) {
    static constexpr char letters[] = {'H', 'V', 'L', 'R'};
    const bool satellite = tuning.type == static_cast<std::uint32_t>(frontend_dvb_s);
    const lib13818::DeliverySystem system = tuning.delivery.system;
    std::string text = system != lib13818::DeliverySystem::automatic
                           ? lib13818::name(system)
                           : frontend_type_name(static_cast<std::int32_t>(tuning.type));
    char number[64];
    std::snprintf(number, sizeof number, " %.3f MHz", tuning.frequency * (satellite ? 1000 : 1));
    text += number;
    if (satellite && tuning.word_a >= 0 && tuning.word_a < 4)
        text += std::string(" ") + letters[tuning.word_a];
    if (tuning.delivery.stream_id != lib13818::automatic)
        text += (satellite ? " ISI " : " PLP ") + std::to_string(tuning.delivery.stream_id);
    if (satellite && tuning.delivery.scrambling_index > 0)
        text += " gold " + std::to_string(tuning.delivery.scrambling_index);
    if (satellite) text += " position " + std::to_string(tuning.word_d);
    return text;
}

}  // namespace kestrel
