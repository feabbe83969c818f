#include "dbexport/database_export.h"

#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "dbexport/export_failure.h"
#include "dbexport/replacement_file.h"
#include "dbexport/row_values.h"
#include "dbexport/schema.h"
#include "dbexport/sqlite_database.h"
#include "lib13818/names/registry.h"
#include "log/trace_log.h"

namespace kestrel::dbexport {

namespace {

void create_schema(sqlite_database& db) {
    for (const std::string_view table : table_names())
        db.execute(create_table_sql(table));
    for (const view& v : views())
        db.execute(create_view_sql(v));
}

// The rows of the scan result, network by network. TRANSPONDER_ID and SERVICE_ID are
// numbered here, in the order the rows are written.
class row_writer {
  public:
    row_writer(sqlite_database& db, export_progress* progress)
        : network_(db.handle(), insert_sql("tb_network")),
          transponder_(db.handle(), insert_sql("tb_transponder")),
          service_(db.handle(), insert_sql("tb_service")),
          ecm_(db.handle(), insert_sql("tb_ca_ecm")),
          emm_(db.handle(), insert_sql("tb_ca_emm")),
          progress_(progress) {}

    void write(std::int32_t onid, const Network& network) {
        lib13818::dvb_text_decoder text = network_text_decoder(network);
        network_.run(onid, registry_text(lib13818::original_network_name(onid), text),
                     network.diseqc_position, network.twelve_volt);
        for (const auto& [tsid, transponder] : network.transponders) {
            write(onid, tsid, transponder, text);
            if (progress_ != nullptr) ++progress_->transponders_written;
        }
    }

  private:
    void write(std::int32_t onid, std::int32_t tsid, const Transponder& transponder,
               lib13818::dvb_text_decoder& text) {
        const std::int64_t transponder_id = next_transponder_id_++;
        const lib13818::Delivery& delivery = transponder.delivery;
        const lib13818::DeliverySystem system = transponder.system();
        std::optional<std::string_view> roll_off;
        if (system == lib13818::DeliverySystem::dvb_s2) roll_off.emplace(lib13818::name(delivery.roll_off));
        std::optional<std::int64_t> stream_id;
        if (delivery.stream_id != lib13818::automatic) stream_id.emplace(delivery.stream_id);
        transponder_.run(transponder_id, onid, tsid, frequency_mhz(transponder.frequency),
                         transponder.polarisation, symbol_rate_msymbols(transponder.symbol_rate),
                         transponder.FEC, std::string_view(lib13818::name(system)),
                         std::string_view(lib13818::name(delivery.modulation)), roll_off, stream_id);
        for (const lib13818::DescriptorCA& ca : transponder.CAT.CA_descriptors)
            write_ca(emm_, transponder_id, ca, text);

        std::set<std::int32_t> written;
        for (const lib13818::PatProgram& program : transponder.PAT.programs) {
            if (program.program_number == 0) continue;
            if (!written.insert(program.program_number).second) {
                global_trace().log(
                    1, "database export: program_number %#x repeated in the PAT of %#x/%#x, first kept",
                    program.program_number, onid, tsid);
                continue;
            }
            write_service(describe_service(program, transponder, onid, tsid, text), transponder_id, text);
        }
    }

    void write_service(const service_values& s, std::int64_t transponder_id,
                       lib13818::dvb_text_decoder& text) {
        const std::int64_t service_id = next_service_id_++;
        service_.run(service_id, transponder_id, s.sid, s.service_name, s.provider_name, s.type, s.free_ca,
                     s.eit_schedule, s.eit_present_following, s.vpid, s.apid, s.pcr, s.pmt_pid);
        if (s.pmt == nullptr) return;
        ca_scratch_.clear();
        s.pmt->collect_CA(ca_scratch_);
        for (const lib13818::DescriptorCA& ca : ca_scratch_)
            write_ca(ecm_, service_id, ca, text);
    }

    static void write_ca(sqlite_statement& insert, std::int64_t owner, const lib13818::DescriptorCA& ca,
                         lib13818::dvb_text_decoder& text) {
        insert.run(owner, ca.CA_system_ID, registry_text(lib13818::ca_system_name(ca.CA_system_ID), text),
                   ca.CA_PID, private_bytes_text(ca.private_data));
    }

    sqlite_statement network_, transponder_, service_, ecm_, emm_;
    export_progress* progress_;
    std::int64_t next_transponder_id_ = 1;
    std::int64_t next_service_id_ = 1;
    std::vector<lib13818::DescriptorCA> ca_scratch_;
};

void count_transponders(const AllNetworks& networks, export_progress* progress) {
    if (progress == nullptr) return;
    std::size_t total = 0;
    for (const auto& [onid, network] : networks)
        total += network.transponders.size();
    progress->transponders_written = 0;
    progress->transponders_total = total;
}

}  // namespace

std::string export_database(const std::string& path, const AllNetworks& networks, export_progress* progress) {
    global_trace().log(1, "export_database(%s)", path.c_str());
    count_transponders(networks, progress);
    try {
        replacement_file file(path);
        {
            sqlite_database db(file.path());
            // The temporary file is made durable and atomic by the fsync and rename at the end
            // and thrown away on failure, so SQLite's own journal file and syncs add nothing.
            db.execute("PRAGMA foreign_keys = ON");
            db.execute("PRAGMA journal_mode = MEMORY");
            db.execute("PRAGMA synchronous = OFF");
            db.execute("BEGIN");
            create_schema(db);
            {
                row_writer rows(db, progress);
                for (const auto& [onid, network] : networks)
                    rows.write(onid, network);
            }
            db.execute("COMMIT");
            db.close();
        }
        file.commit();
        return "";
    } catch (const export_failure& failure) {
        global_trace().log(1, "database export to %s failed: %s", path.c_str(), failure.what());
        return failure.what();
    }
}

}  // namespace kestrel::dbexport
