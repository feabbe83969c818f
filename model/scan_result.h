#pragma once

// The scan result: every network seen, its transport streams (transponders) with how each
// was tuned, and the decoded tables of each. Everything is held by value; nothing in the
// model points into another part of it, so a Transponder copies deeply.
//
// Threads: no locking. The scan worker writes the model while the user interface waits for
// it; views read it only after the scan has ended.

#include <cstdint>
#include <map>
#include <string>

#include "lib13818/delivery/delivery.h"
#include "lib13818/descriptors/satellite_delivery_system_descriptor.h"
#include "lib13818/tables/bat.h"
#include "lib13818/tables/cat.h"
#include "lib13818/tables/rst.h"
#include "lib13818/tables/tdt.h"
#include "lib13818/tables/tot.h"
#include "model/section_maps.h"

namespace kestrel {

// What a scan command asks for; the views read only the mode.
struct ScanContext {
    enum mode : std::int32_t { current_transponder = 0, current_nit = 1, configured_satellites = 2 };
    std::int32_t mode = current_transponder;
};

// The tuning read back from the tuner, as the model takes it: GHz, polarisation (DVB-S),
// FEC word, symbol rate in kilosymbols per second (DVB-S and DVB-C) and the delivery record
// with the system the card delivers.
struct tuner_readback {
    std::uint32_t type = 0;  // frontend type 1..3; any other fills no transponder's tuning
    double frequency = 0.0;
    std::int32_t polarisation = 0;
    std::int32_t fec = 0;
    std::uint32_t symbol_rate_k = 0;
    lib13818::Delivery delivery;
};

// One scanned transport stream.
struct Transponder {
    with_bytes<lib13818::Cat> CAT;
    NitMap nit_actual;
    NitMap nit_other;
    SdtMap sdt_actual;
    SdtMap sdt_other;
    with_bytes<lib13818::Bat> BAT;
    with_bytes<lib13818::Pat> PAT;
    with_bytes<lib13818::Rst> RST;
    with_bytes<lib13818::Tdt> TDT;
    with_bytes<lib13818::Tot> TOT;
    EitMap eit_actual_present_following;
    EitMap eit_other_present_following;
    EitMap eit_actual_schedule;
    EitMap eit_other_schedule;
    PmtList PMTs;

    double frequency = 0.0;         // GHz
    std::int32_t polarisation = 0;  // 0 H, 1 V, 2 L, 3 R
    double symbol_rate = 0.0;       // megasymbols per second
    std::int32_t FEC = 0;
    // Set to the transport_stream_id by the scan; the export keys transponders by it.
    std::int32_t transponder_number = 0;
    std::string FEC_text;
    std::int32_t reserved = 0;
    // The delivery system and its parameters; a transponder whose system is automatic is a
    // DVB-S one, as every transponder was before the record.
    lib13818::Delivery delivery;

    // Frequency, polarisation, symbol rate and FEC_inner of the descriptor; the FEC text is
    // the FEC_inner name; the system (DVB-S or DVB-S2), modulation and roll-off of its
    // modulation bits.
    void set_tuning(const lib13818::DescriptorSatelliteDeliverySystem& descriptor);
    // A read-back of a frontend type 1..3: its fields, the symbol rate in megasymbols per
    // second, the FEC text "AUTO" and its delivery record; any other type leaves the tuning
    // as it is.
    void set_tuning(const tuner_readback& tuner);

    // DVB-S, DVB-S2, DVB-T, DVB-T2 or DVB-C (DVB-S for a transponder that names none).
    lib13818::DeliverySystem system() const;

    // By system, after "%04X - ", the number:
    //   DVB-S   "%d%c %s %d": MHz, polarisation letter, FEC text, ksymbols/s
    //   DVB-S2  the same, then " S2 8PSK" (the modulation, or "auto") and " ISI n" for a stream
    //   DVB-C   "346.000 MHz QAM256 6900": MHz, modulation, ksymbols/s
    //   DVB-T   "474.000 MHz 8 MHz": MHz and the bandwidth where known; DVB-T2 adds " T2" and
    //           " PLP n" for a stream
    std::string label() const;
    // The same without the number, as the scan's progress shows it.
    std::string short_label() const;
};

struct Network {
    std::map<std::int32_t, Transponder> transponders;  // by transport_stream_id
    std::int32_t original_network_id = 0;
    std::int32_t diseqc_position = 0;  // of the tuning when the network was first added
    std::int32_t twelve_volt = 0;      // the device does not report it: 0
};

// Networks by original_network_id.
using AllNetworks = std::map<std::int32_t, Network>;

// Files a scanned transport stream under onid/tsid. A network new to the model takes the
// DiSEqC position given (the tuning's, read by the caller); an existing one keeps its own.
void add_transponder(AllNetworks& networks, std::int32_t onid, std::int32_t tsid,
                     const Transponder& transponder, std::int32_t diseqc_position);

// True when onid/tsid has been scanned already.
bool contains_transponder(const AllNetworks& networks, std::int32_t onid, std::int32_t tsid);

}  // namespace kestrel
