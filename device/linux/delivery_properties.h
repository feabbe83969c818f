#pragma once

// The Linux DVB API's side of a tuning: the delivery record (lib13818/delivery/delivery.h)
// and the channel record's words as one FE_SET_PROPERTY list, and the frontend's values read
// back into them. The kernel numbers its enums in its own order (ROLLOFF_20 is 1, ROLLOFF_25
// is 2; TRANSMISSION_MODE_4K is 3), so each coded field has a table here, record value to
// kernel value, and nothing else translates them.
//
// Lists by system (each begins DTV_DELIVERY_SYSTEM, DTV_CLEAR and ends DTV_TUNE):
//   DVB-S   FREQUENCY (the intermediate frequency, kHz), SYMBOL_RATE, INNER_FEC, INVERSION
//   DVB-S2  the same, then MODULATION, ROLLOFF, PILOT, STREAM_ID (the input stream, or
//           NO_STREAM_ID_FILTER) and SCRAMBLING_SEQUENCE_INDEX; a kernel whose API is older
//           than 5.11 has no scrambling property and takes the Gold index packed into the
//           stream id: isi | index << 8 | 1 << 26
//   DVB-C   FREQUENCY (Hz), SYMBOL_RATE, MODULATION, INNER_FEC, INVERSION
//   DVB-T   FREQUENCY, BANDWIDTH_HZ, INVERSION, CODE_RATE_HP, CODE_RATE_LP, MODULATION,
//           TRANSMISSION_MODE, GUARD_INTERVAL, HIERARCHY
//   DVB-T2  the DVB-T list, then STREAM_ID (the PLP, or NO_STREAM_ID_FILTER)
// A field the record leaves automatic is sent as the word gives it (DVB-C modulation, the
// bandwidth code), else as AUTO. A DVB-T frontend that cannot find a parameter out itself
// (no FE_CAN_..._AUTO) gets the value most DVB-T networks use instead, and the event log
// says so: 8 MHz, 64-QAM, code rate 2/3, 8k, guard 1/4, no hierarchy. A DVB-T2 frontend gets
// the bandwidth so and finds out the rest.

#include <linux/dvb/frontend.h>

#include <cstdint>
#include <vector>

#include "device/card.h"
#include "lib13818/delivery/delivery.h"

namespace kestrel {

// What a tuning needs to know of the frontend.
struct frontend_facts {
    std::uint32_t system = SYS_UNDEFINED;  // the kernel's system to tune
    std::uint32_t caps = 0;                // FE_CAN_... of FE_GET_INFO
    std::uint32_t api_version = 0;         // DTV_API_VERSION: major << 8 | minor
};

// The first API with DTV_SCRAMBLING_SEQUENCE_INDEX.
inline constexpr std::uint32_t scrambling_index_api = 0x050B;

dtv_property property(std::uint32_t command, std::uint32_t data = 0);

// The complete list for the record on the frontend, or an empty list when a word is out of
// range (a cable modulation code above 4, a frequency beyond 32 bits of Hz).
std::vector<dtv_property> tuning_properties(const ChannelRecord& record, const frontend_facts& frontend);

// The properties a read-back asks for, and the channel record they give; `last` is the
// record tuned last (the LOF, tone and voltage the frontend does not report).
std::vector<dtv_property> read_back_properties(const frontend_facts& frontend);
ChannelRecord channel_from(const std::vector<dtv_property>& values, const ChannelRecord& last,
                           std::int32_t frontend_type, const frontend_facts& frontend);

// Record values and the kernel's, both ways, for each coded field of the record
// (DeliverySystem, Modulation, RollOff, Pilot, CodeRate, GuardInterval, TransmissionMode,
// Hierarchy). Automatic is SYS_UNDEFINED, QAM_AUTO, ROLLOFF_AUTO, ...; a kernel value the
// record has no value for reads as automatic. DVB-C annex C reads back as DVB-C.
template <class Code>
std::uint32_t kernel_value(Code value);
template <class Code>
Code record_value(std::uint32_t kernel);

}  // namespace kestrel
