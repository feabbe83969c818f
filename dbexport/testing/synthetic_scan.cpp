#include "dbexport/testing/synthetic_scan.h"

#include <numeric>
#include <string>

namespace kestrel::dbexport::testing {

namespace {

constexpr std::int32_t onid = 0x0085;

lib13818::DescriptorCA ca_descriptor(std::int32_t pid) {
    lib13818::DescriptorCA ca(0x0B00, pid);
    ca.private_data.resize(100);
    std::iota(ca.private_data.begin(), ca.private_data.end(), std::uint8_t{0});
    return ca;
}

lib13818::Pmt program_map(std::int32_t program, std::int32_t first_pid, int ecms) {
    lib13818::Pmt pmt;
    pmt.table_id_extension = program;
    pmt.PCR_PID = first_pid;
    for (int i = 0; i < ecms; ++i)
        pmt.CA.push_back(ca_descriptor(first_pid + 8 + i));
    lib13818::ElementaryStream video, audio;
    video.stream_type = 0x02;
    video.elementary_PID = first_pid;
    audio.stream_type = 0x04;
    audio.elementary_PID = first_pid + 1;
    pmt.streams = {video, audio};
    return pmt;
}

lib13818::SdtService sdt_entry(std::int32_t service_id) {
    lib13818::SdtService entry;
    entry.service_id = service_id;
    lib13818::DescriptorService names;
    names.service_type = 1;
    names.provider_name = "Synthetic";
    names.service_name = "Service " + std::to_string(service_id);
    entry.service.push_back(names);
    return entry;
}

}  // namespace

AllNetworks synthetic_scan(int transponders, int services, int ecms) {
    AllNetworks networks;
    for (int t = 1; t <= transponders; ++t) {
        Transponder tp;
        tp.frequency = 10.7 + t * 0.02;
        tp.symbol_rate = 27.5;
        tp.CAT.CA_descriptors.push_back(ca_descriptor(0x1F0));
        with_bytes<lib13818::Sdt> sdt;
        for (int s = 1; s <= services; ++s) {
            const std::int32_t pmt_pid = 0x100 + s * 0x10;
            tp.PAT.programs.push_back({s, pmt_pid});
            tp.PMTs.emplace_back(program_map(s, pmt_pid + 1, ecms));
            sdt.services.push_back(sdt_entry(s));
        }
        tp.sdt_actual[onid][t][0] = sdt;
        add_transponder(networks, onid, t, tp, 0);
    }
    return networks;
}

}  // namespace kestrel::dbexport::testing
