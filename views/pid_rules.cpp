#include "views/pid_rules.h"

#include <algorithm>

namespace kestrel::views {

namespace {

void add_ca_pids(std::vector<std::int32_t>& out, const std::vector<lib13818::DescriptorCA>& descriptors) {
    for (const auto& d : descriptors)
        out.push_back(d.CA_PID);
}

std::vector<std::int32_t> emm_set(const Transponder& tp) {
    std::vector<std::int32_t> out;
    add_ca_pids(out, tp.CAT.CA_descriptors);
    return out;
}

std::vector<std::int32_t> ecm_set(const lib13818::Pmt& pmt) {
    std::vector<lib13818::DescriptorCA> descriptors;
    pmt.collect_CA(descriptors);
    std::vector<std::int32_t> out;
    add_ca_pids(out, descriptors);
    return out;
}

std::vector<std::int32_t> ecm_set(const Transponder& tp) {
    std::vector<std::int32_t> out;
    for (const auto& pmt : tp.PMTs) {
        const auto pids = ecm_set(pmt);
        out.insert(out.end(), pids.begin(), pids.end());
    }
    return out;
}

template <class Select>
pid_list streams(const lib13818::Pmt& pmt, Select&& select) {
    std::vector<std::int32_t> out;
    for (const auto& es : pmt.streams)
        if (select(es.stream_type)) out.push_back(es.elementary_PID);
    return to_pid_list(std::move(out));
}

}  // namespace

pid_list to_pid_list(std::vector<std::int32_t> pids) {
    std::sort(pids.begin(), pids.end());
    pids.erase(std::unique(pids.begin(), pids.end()), pids.end());
    pid_list out;
    out.fill(null_pid);
    std::copy_n(pids.begin(), std::min(pids.size(), out.size()), out.begin());
    return out;
}

pid_list emm_pids(const Transponder& tp) {
    return to_pid_list(emm_set(tp));
}

pid_list ecm_pids(const Transponder& tp) {
    return to_pid_list(ecm_set(tp));
}

pid_list emm_ecm_pids(const Transponder& tp) {
    std::vector<std::int32_t> pids = emm_set(tp);
    const auto ecm = ecm_set(tp);
    pids.insert(pids.end(), ecm.begin(), ecm.end());
    return to_pid_list(std::move(pids));
}

pid_list ecm_pids(const lib13818::Pmt& pmt) {
    return to_pid_list(ecm_set(pmt));
}

pid_list video_pids(const lib13818::Pmt& pmt) {
    return streams(pmt, [](std::int32_t type) { return type == 1 || type == 2; });
}

pid_list audio_pids(const lib13818::Pmt& pmt) {
    return streams(pmt, [](std::int32_t type) { return type == 3 || type == 4; });
}

pid_list private_pids(const lib13818::Pmt& pmt) {
    return streams(pmt, [](std::int32_t type) { return type >= 0x80 && type <= 0xFF; });
}

}  // namespace kestrel::views
