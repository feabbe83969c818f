#include <nlohmann/json.hpp>

#include "analysis/report_writers.h"

namespace kestrel::analysis {

namespace {

using json = nlohmann::ordered_json;

template <class T>
json or_null(const std::optional<T>& value) {
    return value ? json(*value) : json(nullptr);
}

json triple(const std::optional<min_mean_max>& v) {
    if (!v) return {{"min", nullptr}, {"mean", nullptr}, {"max", nullptr}};
    return {{"min", v->min}, {"mean", v->mean}, {"max", v->max}};
}

json pid_json(const pid_report& p) {
    return {{"pid", p.pid},
            {"kind", p.kind},
            {"service_ids", p.service_ids},
            {"packets", p.packets},
            {"scrambled", p.scrambled},
            {"cc_errors", p.cc_errors},
            {"lost_packets", p.lost_packets},
            {"pcr_count", p.pcr_count},
            {"pcr_interval_ms", triple(p.pcr_interval_ms)},
            {"bitrate_bps", triple(p.bitrate_bps)}};
}

json indicator_json(const indicator_report& r) {
    const indicator_info& i = info(r.which);
    json j{{"id", i.id},
           {"name", i.name},
           {"priority", i.priority},
           {"count", or_null(r.count)},
           {"measured", r.count.has_value()}};
    if (i.estimate) j["estimate"] = true;
    return j;
}

json error_json(const error_event& e) {
    return {{"id", info(e.which).id},      {"packet", e.packet}, {"pid_packet", e.pid_packet},
            {"time_s", or_null(e.time_s)}, {"pid", e.pid},       {"detail", e.detail}};
}

json bins_json(const analysis_report& report) {
    json pids = json::object();
    for (std::size_t k = 0; k < report.bin_pids.size(); ++k) {
        json rates = json::array();
        for (const auto& bin : report.bin_rates)
            rates.push_back(bin[k]);
        pids[std::to_string(report.bin_pids[k])] = std::move(rates);
    }
    return {{"interval_ms", report.bin_pids.empty() ? json(nullptr) : json(report.bin_interval_ms)},
            {"pids", std::move(pids)}};
}

}  // namespace

void write_json(std::ostream& out, const analysis_report& report) {
    json doc{{"packets", report.packets},
             {"duration_s", or_null(report.duration_s)},
             {"bitrate_bps", or_null(report.bitrate_bps)},
             {"time_base", time_base_name(report.base)}};
    doc["pids"] = json::array();
    for (const auto& p : report.pids)
        doc["pids"].push_back(pid_json(p));
    doc["indicators"] = json::array();
    for (const auto& r : report.indicators)
        doc["indicators"].push_back(indicator_json(r));
    doc["errors"] = json::array();
    for (const auto& e : report.errors)
        doc["errors"].push_back(error_json(e));
    doc["bins"] = bins_json(report);
    out << doc.dump(2) << '\n';
}

}  // namespace kestrel::analysis
