#pragma once

// The commands of the main frame's two menus: the menu without a document window and the
// menu while one is open. Each row says where the item stands, its text in each menu (the
// two differ in a few texts), its keys and when it can be chosen.

#include <span>
#include <string_view>

namespace kestrel {
class dvb_device;
}

namespace kestrel::app {

enum class command {
    file_new,
    file_transponder,
    file_close,
    database_export,
    channel_list_export,
    open_capture,
    analyse_capture,
    recent_captures,
    exit,
    undo,
    cut,
    copy,
    copy_json,
    paste,
    view_toolbar,
    view_status_bar,
    view_bytes_pane,
    programme_guide,
    scan_transponder,
    scan_nit,
    scan_satellites,
    single_pid,
    multiple_pid,
    stream_analysis,
    tuning,
    satellite_settings,
    si_tables,
    general_settings,
    lnb_settings,
    window_cascade,
    window_tile,
    window_arrange,
    about,
    homepage,
    email,
    updates,
};

// When a command can be chosen. A selection is that of the active document window: in its
// focused pane, or in its tree.
// card_free: no live analysis has taken the card (which a new capture would replace).
enum class needs {
    always,
    never,
    window,
    card,
    card_locked,
    card_dvb_s,
    card_free,
    pane_selection,
    tree_selection,
    scan_result
};

struct command_entry {
    command id;
    std::string_view menu;     // the top-level menu ("&File")
    std::string_view submenu;  // "SI Scanning", or "" for an item of the menu itself
    const char* no_document;   // the text without a document window; null: not in that menu
    const char* document;      // the text while one is open; null: not in that menu
    const char* keys;          // "Ctrl+C; Ctrl+Insert" (the first is shown), or ""
    needs condition;
    bool separator_before = false;
};

std::span<const command_entry> command_table();
// The top-level menus of each menu, in their order.
std::span<const std::string_view> menu_titles(bool document);

// What the conditions ask of the card. Without a card nothing else is asked of the device.
// While a live analysis has taken the card, no command that needs the card can be chosen.
struct card_state {
    bool present = false;
    bool locked = false;
    bool dvb_s = false;
    bool analysing = false;
};
card_state read_card_state(dvb_device* device, bool analysing = false);

// What the conditions ask of the document windows.
struct window_state {
    bool open = false;
    bool pane_selection = false;  // the active window's focused pane has a selection
    bool tree_selection = false;  // its tree has a selected node
    bool scan_result = false;     // the scan result they show holds a transport stream
};

bool is_enabled(needs condition, const card_state& card, const window_state& window);

}  // namespace kestrel::app
