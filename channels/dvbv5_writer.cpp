#include "channels/dvbv5_writer.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "channels/channel_text.h"

namespace kestrel::channels {

namespace {

using lib13818::DeliverySystem;

const char* system_name(DeliverySystem system) {
    switch (system) {
        case DeliverySystem::dvb_s2:
            return "DVBS2";
        case DeliverySystem::dvb_t:
            return "DVBT";
        case DeliverySystem::dvb_t2:
            return "DVBT2";
        case DeliverySystem::dvb_c:
            return "DVBC/ANNEX_A";
        default:
            return "DVBS";
    }
}

std::string modulation_name(lib13818::Modulation modulation) {
    using lib13818::Modulation;
    switch (modulation) {
        case Modulation::qpsk:
            return "QPSK";
        case Modulation::psk_8:
            return "PSK/8";
        case Modulation::apsk_16:
            return "APSK/16";
        case Modulation::apsk_32:
            return "APSK/32";
        case Modulation::automatic:
            return "QAM/AUTO";
        default:
            return "QAM/" + std::to_string(static_cast<std::int32_t>(modulation));
    }
}

const char* polarization_name(std::int32_t polarisation) {
    static constexpr const char* names[] = {"HORIZONTAL", "VERTICAL", "LEFT", "RIGHT"};
    return polarisation >= 0 && polarisation < 4 ? names[polarisation] : "HORIZONTAL";
}

// The record's own name in capitals: "2/3" stays, "auto" is "AUTO", "8k" is "8K".
template <class Code>
std::string upper_name(Code value) {
    std::string text = lib13818::name(value);
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string roll_off_name(lib13818::RollOff roll_off) {
    if (roll_off == lib13818::RollOff::automatic) return "AUTO";
    return std::to_string(static_cast<std::int32_t>(roll_off));
}

std::string lnb_name(const lnb_oscillators& lnb) {
    if (lnb.low_khz == 9750000 && lnb.high_khz == 10600000 && lnb.switch_khz == 11700000) return "EXTENDED";
    return std::to_string(lnb.low_khz / 1000) + "," + std::to_string(lnb.high_khz / 1000) + "," +
           std::to_string(lnb.switch_khz / 1000);
}

class block {
  public:
    explicit block(std::ostream& out) : out_(out) {}
    template <class Value>
    void key(const char* name, const Value& value) {
        out_ << '\t' << name << " = " << value << '\n';
    }
    void pids(const char* name, const std::vector<std::int32_t>& pids) {
        if (pids.empty()) return;
        out_ << '\t' << name << " =";
        for (const std::int32_t pid : pids)
            out_ << ' ' << pid;
        out_ << '\n';
    }

  private:
    std::ostream& out_;
};

void write_streams(block& b, const channel_entry& e) {
    if (e.video) b.key("VIDEO_PID", e.video->pid);
    std::vector<std::int32_t> audio;
    for (const stream_pid& s : e.audio)
        audio.push_back(s.pid);
    b.pids("AUDIO_PID", audio);
    // Everything else by stream type, as PID_xx keys.
    std::map<std::int32_t, std::vector<std::int32_t>> others;
    if (e.teletext) others[e.teletext->stream_type].push_back(e.teletext->pid);
    for (const stream_pid& s : e.subtitles)
        others[s.stream_type].push_back(s.pid);
    for (const auto& [type, pids] : others) {
        char key[8];
        std::snprintf(key, sizeof key, "PID_%02x", static_cast<unsigned>(type & 0xFF));
        b.pids(key, pids);
    }
}

void write_tuning(block& b, const channel_tuning& t, const lnb_oscillators& lnb) {
    const lib13818::Delivery& d = t.delivery;
    b.key("DELIVERY_SYSTEM", system_name(t.system));
    const bool satellite = lib13818::is_satellite(t.system);
    b.key("FREQUENCY", satellite ? t.frequency_khz : t.frequency_khz * 1000);
    b.key("INVERSION", "AUTO");
    if (satellite) b.key("POLARIZATION", polarization_name(t.polarisation));
    if (satellite || t.system == DeliverySystem::dvb_c) {
        b.key("SYMBOL_RATE", t.symbol_rate);
        b.key("INNER_FEC", upper_name(d.code_rate_hp));
    }
    if (t.system != DeliverySystem::dvb_s) b.key("MODULATION", modulation_name(d.modulation));
    if (t.system == DeliverySystem::dvb_s2) {
        b.key("ROLLOFF", roll_off_name(d.roll_off));
        b.key("PILOT", upper_name(d.pilot));
    }
    if (lib13818::is_terrestrial(t.system)) {
        if (d.bandwidth_hz != lib13818::automatic) b.key("BANDWIDTH_HZ", d.bandwidth_hz);
        b.key("CODE_RATE_HP", upper_name(d.code_rate_hp));
        b.key("CODE_RATE_LP", upper_name(d.code_rate_lp));
        b.key("GUARD_INTERVAL", upper_name(d.guard_interval));
        b.key("TRANSMISSION_MODE", upper_name(d.transmission_mode));
        b.key("HIERARCHY", upper_name(d.hierarchy));
    }
    if (lib13818::is_second_generation(t.system) && d.stream_id != lib13818::automatic)
        b.key("STREAM_ID", d.stream_id);
    if (satellite) {
        b.key("LNB", lnb_name(lnb));
        b.key("SAT_NUMBER", t.diseqc_position);
    }
}

}  // namespace

void write_dvbv5(std::ostream& out, std::span<const channel_entry> entries, const lnb_oscillators& lnb) {
    for (const channel_entry& e : entries) {
        out << '[' << plain_field(e.name, "[]", ' ') << "]\n";
        block b(out);
        b.key("SERVICE_ID", e.service_id);
        b.key("NETWORK_ID", e.original_network_id);
        b.key("TRANSPORT_ID", e.transport_stream_id);
        if (e.logical_channel) b.key("VCHANNEL", *e.logical_channel);
        write_streams(b, e);
        write_tuning(b, e.tuning, lnb);
        out << '\n';
    }
}

}  // namespace kestrel::channels
