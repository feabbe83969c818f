#include "dbexport/schema.h"

#include <array>

namespace kestrel::dbexport {

namespace {

using enum column_type;
using enum key_kind;

constexpr std::array<std::string_view, 6> all_tables{"tb_network", "tb_transponder", "tb_service",
                                                     "tb_audio",   "tb_ca_ecm",      "tb_ca_emm"};

constexpr std::array<column, 44> all_columns{{
    {"tb_network", "NID", integer, 0, false},
    {"tb_network", "NETWORK_NAME", text, 255, false},
    {"tb_network", "DISQ", integer, 0, false},
    {"tb_network", "SWITCH12", integer, 0, false},
    {"tb_transponder", "TRANSPONDER_ID", integer, 0, false},
    {"tb_transponder", "NID", integer, 0, false},
    {"tb_transponder", "TID", integer, 0, false},
    {"tb_transponder", "FREQUENCY", integer, 0, false},
    {"tb_transponder", "POLARIZATION", integer, 0, false},
    {"tb_transponder", "SYMBOLRATE", integer, 0, false},
    {"tb_transponder", "FEC", integer, 0, false},
    {"tb_transponder", "DELIVERY_SYSTEM", text, 0, false},
    {"tb_transponder", "MODULATION", text, 0, false},
    {"tb_transponder", "ROLLOFF", text, 0, false},
    {"tb_transponder", "STREAM_ID", integer, 0, false},
    {"tb_service", "SERVICE_ID", integer, 0, false},
    {"tb_service", "TRANSPONDER_ID", integer, 0, false},
    {"tb_service", "SID", integer, 0, false},
    {"tb_service", "SERVICENAME", text, 50, false},
    {"tb_service", "PROVIDERNAME", text, 50, false},
    {"tb_service", "TYPE", integer, 0, false},
    {"tb_service", "FREE_CA", integer, 0, false},
    {"tb_service", "EIT_SCHEDULE", integer, 0, false},
    {"tb_service", "EIT_PRESENT_FOLLOWING", integer, 0, false},
    {"tb_service", "VPID", integer, 0, false},
    {"tb_service", "APID", integer, 0, false},
    {"tb_service", "PCR", integer, 0, false},
    {"tb_service", "PMT", integer, 0, false},
    {"tb_audio", "AUDIO_ID", integer, 0, true},
    {"tb_audio", "SERVICE_ID", integer, 0, false},
    {"tb_audio", "APID", integer, 0, false},
    {"tb_audio", "LANGUAGE", text, 50, false},
    {"tb_ca_ecm", "CAECM_ID", integer, 0, true},
    {"tb_ca_ecm", "SERVICE_ID", integer, 0, false},
    {"tb_ca_ecm", "SYSTEM_ID", integer, 0, false},
    {"tb_ca_ecm", "CAPROVIDER_NAME", text, 255, false},
    {"tb_ca_ecm", "CA_PID", integer, 0, false},
    {"tb_ca_ecm", "PRIVATEBYTES", text, 255, false},
    {"tb_ca_emm", "CAEMM_ID", integer, 0, true},
    {"tb_ca_emm", "TRANSPONDER_ID", integer, 0, false},
    {"tb_ca_emm", "SYSTEM_ID", integer, 0, false},
    {"tb_ca_emm", "CAPROVIDER_NAME", text, 255, false},
    {"tb_ca_emm", "CA_PID", integer, 0, false},
    {"tb_ca_emm", "PRIVATEBYTES", text, 255, false},
}};

const std::vector<key>& all_keys() {
    static const std::vector<key> list{
        {"tb_network", "NID", primary, {"NID"}, ""},
        {"tb_transponder", "TRANSPONDER", foreign, {"NID"}, "tb_network"},
        {"tb_transponder", "NET_TRANSPONDER", primary, {"NID", "TID"}, ""},
        {"tb_transponder", "TRANSPONDER_ID", unique, {"TRANSPONDER_ID"}, ""},
        {"tb_service", "TB_SERVICE", foreign, {"TRANSPONDER_ID"}, "tb_transponder"},
        {"tb_service", "SID_TRANSPONDER", primary, {"TRANSPONDER_ID", "SID"}, ""},
        {"tb_service", "SERVICE_ID", unique, {"SERVICE_ID"}, ""},
        {"tb_audio", "AUDIO", foreign, {"SERVICE_ID"}, "tb_service"},
        {"tb_audio", "AUDIO_ID", primary, {"AUDIO_ID"}, ""},
        {"tb_ca_ecm", "CA_ECM", foreign, {"SERVICE_ID"}, "tb_service"},
        {"tb_ca_ecm", "CAECM_ID", primary, {"CAECM_ID"}, ""},
        {"tb_ca_emm", "CA_EMM", foreign, {"TRANSPONDER_ID"}, "tb_transponder"},
        {"tb_ca_emm", "CAEMM_ID", primary, {"CAEMM_ID"}, ""},
    };
    return list;
}

constexpr std::array<view, 2> all_views{{
    {"service_list",
     "SELECT tb_network.NID, tb_transponder.TID, tb_service.SID, tb_network.NETWORK_NAME, "
     "tb_service.SERVICENAME, tb_service.PROVIDERNAME, tb_service.TYPE, tb_service.VPID, tb_service.APID, "
     "tb_service.PCR, tb_service.PMT, tb_transponder.FREQUENCY, tb_transponder.POLARIZATION, "
     "tb_transponder.SYMBOLRATE, tb_transponder.FEC, tb_network.DISQ, tb_service.FREE_CA FROM tb_network "
     "INNER JOIN (tb_transponder INNER JOIN tb_service ON tb_transponder.TRANSPONDER_ID = "
     "tb_service.TRANSPONDER_ID) ON tb_network.NID = tb_transponder.NID"},
    {"ecm_list",
     "SELECT tb_service.SERVICENAME, tb_service.PROVIDERNAME, tb_ca_ecm.SYSTEM_ID, "
     "tb_ca_ecm.CAPROVIDER_NAME, "
     "tb_ca_ecm.CA_PID, tb_ca_ecm.PRIVATEBYTES FROM tb_service INNER JOIN tb_ca_ecm ON tb_service.SERVICE_ID "
     "= "
     "tb_ca_ecm.SERVICE_ID"},
}};

std::string column_list(const std::vector<std::string_view>& names) {
    std::string out;
    for (const std::string_view name : names) {
        if (!out.empty()) out += ", ";
        out += name;
    }
    return out;
}

bool is_primary_key_of(const key& k, const column& c) {
    return k.kind == primary && k.table == c.table && k.columns.size() == 1 && k.columns[0] == c.name;
}

std::string column_definition(const column& c) {
    std::string out{c.name};
    out += c.type == integer ? " INTEGER" : c.size > 0 ? " VARCHAR(" + std::to_string(c.size) + ")" : " TEXT";
    if (c.autoincrement) {
        for (const key& k : all_keys())
            if (is_primary_key_of(k, c)) out += " CONSTRAINT " + std::string(k.name);
        out += " PRIMARY KEY AUTOINCREMENT";
    }
    return out;
}

// The primary key over an autoincrement column stands in that column's definition.
bool is_inline(const key& k) {
    for (const column& c : all_columns)
        if (c.autoincrement && is_primary_key_of(k, c)) return true;
    return false;
}

std::string constraint(const key& k) {
    std::string out = "CONSTRAINT " + std::string(k.name);
    const std::string names = " (" + column_list(k.columns) + ")";
    switch (k.kind) {
        case primary:
            return out + " PRIMARY KEY" + names;
        case unique:
            return out + " UNIQUE" + names;
        case foreign:
            return out + " FOREIGN KEY" + names + " REFERENCES " + std::string(k.related_table) + names;
    }
    return out;
}

}  // namespace

std::span<const std::string_view> table_names() {
    return all_tables;
}
std::span<const column> columns() {
    return all_columns;
}
std::span<const key> keys() {
    return all_keys();
}
std::span<const view> views() {
    return all_views;
}

std::string create_table_sql(std::string_view table) {
    std::string sql = "CREATE TABLE " + std::string(table) + " (";
    const char* separator = "";
    for (const column& c : all_columns)
        if (c.table == table) {
            sql += separator + column_definition(c);
            separator = ", ";
        }
    for (const key& k : all_keys())
        if (k.table == table && !is_inline(k)) sql += ", " + constraint(k);
    return sql + ")";
}

std::string create_view_sql(const view& v) {
    return "CREATE VIEW " + std::string(v.name) + " AS " + std::string(v.select);
}

std::string insert_sql(std::string_view table) {
    std::vector<std::string_view> names;
    for (const column& c : all_columns)
        if (c.table == table && !c.autoincrement) names.push_back(c.name);
    std::string values;
    for (std::size_t i = 1; i <= names.size(); ++i)
        values += (i > 1 ? ", ?" : "?") + std::to_string(i);
    return "INSERT INTO " + std::string(table) + " (" + column_list(names) + ") VALUES (" + values + ")";
}

}  // namespace kestrel::dbexport
