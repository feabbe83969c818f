#include "app/command_table.h"

#include "device/card.h"
#include "device/dvb_device.h"

namespace kestrel::app {

namespace {

constexpr std::string_view file = "&File", edit = "&Edit", view = "&View", action = "&Action",
                           window = "&Window", help = "&Help";
constexpr std::string_view scanning = "SI Scanning", streaming = "PID Streaming";

constexpr command_entry table[] = {
    {command::file_new, file, "", "&New", "&New", "Ctrl+N", needs::never},
    {command::file_transponder, file, "", "Transponder", nullptr, "", needs::always},
    {command::file_close, file, "", nullptr, "&Close", "", needs::window},
    {command::database_export, file, "", nullptr, "Database export...", "", needs::scan_result},
    {command::channel_list_export, file, "", nullptr, "Export channel list...", "", needs::scan_result},
    {command::open_capture, file, "", "Open capture...", "Open capture...", "Ctrl+O", needs::card_free, true},
    {command::analyse_capture, file, "", "Analyse capture...", "Analyse capture...", "", needs::always},
    {command::recent_captures, file, "", "Recent captures", "Recent captures", "", needs::card_free},
    {command::exit, file, "", "E&xit", "E&xit", "", needs::always, true},
    {command::undo, edit, "", nullptr, "&Undo", "Ctrl+Z; Alt+Backspace", needs::never},
    {command::cut, edit, "", nullptr, "Cu&t", "Ctrl+X; Shift+Del", needs::never},
    {command::copy, edit, "", nullptr, "&Copy", "Ctrl+C; Ctrl+Ins", needs::pane_selection, true},
    {command::copy_json, edit, "", nullptr, "Copy as &JSON", "Ctrl+Shift+C", needs::tree_selection},
    {command::paste, edit, "", nullptr, "&Paste", "Ctrl+V; Shift+Ins", needs::never},
    {command::view_toolbar, view, "", "&Toolbar", "&Toolbar", "", needs::never},
    {command::view_status_bar, view, "", "&Status Bar", "&Status Bar", "", needs::always},
    {command::view_bytes_pane, view, "", nullptr, "&Bytes pane", "", needs::window},
    {command::programme_guide, view, "", "Programme guide", "Programme guide", "", needs::card_locked, true},
    {command::scan_transponder, action, scanning, "Current transponder", "Current transponder", "",
     needs::card_locked},
    {command::scan_nit, action, scanning, "Current NIT", "Current NIT", "", needs::card_locked},
    {command::scan_satellites, action, scanning, "All satellites", "Configured satellites", "",
     needs::card_dvb_s},
    {command::single_pid, action, streaming, "Single PID", "Single PID", "", needs::card_locked},
    {command::multiple_pid, action, streaming, "Multiple PID", "Multiple PID", "", needs::card_locked},
    {command::stream_analysis, action, "", "Stream analysis...", "Stream analysis...", "", needs::card_locked,
     true},
    {command::tuning, action, "", "Tuning...", "Tuning...", "", needs::card, true},
    {command::satellite_settings, action, "", "Satellite settings...", "Satellite settings...", "",
     needs::card_dvb_s, true},
    {command::si_tables, action, "", "SI tables...", "SI Tables...", "", needs::always},
    {command::general_settings, action, "", "General settins...", "General settings...", "", needs::always},
    {command::lnb_settings, action, "", "LNB/Disq settings...", "LNB/Disq settings", "", needs::card_dvb_s},
    {command::window_cascade, window, "", nullptr, "&Cascade", "", needs::window},
    {command::window_tile, window, "", nullptr, "&Tile", "", needs::window},
    {command::window_arrange, window, "", nullptr, "&Arrange Icons", "", needs::window},
    {command::about, help, "", "&About Kestrel...", "&About Kestrel...", "", needs::always},
    {command::homepage, help, "", "Kestrel homepage...", "Kestrel homepage...", "", needs::always, true},
    {command::email, help, "", "Email author...", "Email author...", "", needs::always},
    {command::updates, help, "", "Check for updates online...", "Check for updates online...", "",
     needs::always},
};

constexpr std::string_view no_document_menus[] = {file, view, action, help};
constexpr std::string_view document_menus[] = {file, edit, view, action, window, help};

}  // namespace

std::span<const command_entry> command_table() {
    return table;
}

std::span<const std::string_view> menu_titles(bool document) {
    if (document) return document_menus;
    return no_document_menus;
}

card_state read_card_state(dvb_device* device, bool analysing) {
    card_state state;
    if (device == nullptr || device->get_number_of_devices() == 0) return state;
    state.present = true;
    state.analysing = analysing;
    state.locked = device->is_locked();
    state.dvb_s = device->get_frontend_type() == frontend_dvb_s;
    return state;
}

bool is_enabled(needs condition, const card_state& card, const window_state& window) {
    switch (condition) {
        case needs::always:
            return true;
        case needs::never:
            return false;
        case needs::window:
            return window.open;
        case needs::card:
            return card.present && !card.analysing;
        case needs::card_locked:
            return card.present && card.locked && !card.analysing;
        case needs::card_dvb_s:
            return card.present && card.dvb_s && !card.analysing;
        case needs::card_free:
            return !card.analysing;
        case needs::pane_selection:
            return window.pane_selection;
        case needs::tree_selection:
            return window.tree_selection;
        case needs::scan_result:
            return window.scan_result;
    }
    return false;
}

}  // namespace kestrel::app
