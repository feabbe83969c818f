#include "views/tree_node.h"

namespace kestrel::views {

std::span<const menu_item> menu_items(menu_kind menu) {
    static constexpr menu_item transponder[] = {
        {"EMM Streaming ...", tree_command::emm_streaming},
        {"ECM streaming ...", tree_command::ecm_streaming},
        {"EMM+ECM streaming ...", tree_command::emm_ecm_streaming},
    };
    static constexpr menu_item program[] = {
        {"ECM streaming...", tree_command::program_ecm_streaming},
        {"Video streaming...", tree_command::video_streaming},
        {"Audio streaming...", tree_command::audio_streaming},
        {"Private section streaming...", tree_command::private_streaming},
    };
    static constexpr menu_item satellite_delivery[] = {{"Set tuner...", tree_command::set_tuner}};
    switch (menu) {
        case menu_kind::transponder:
            return transponder;
        case menu_kind::program:
            return program;
        case menu_kind::satellite_delivery:
            return satellite_delivery;
        case menu_kind::none:
            break;
    }
    return {};
}

tree_node& tree_node::add(std::string child_text, item_kind child_kind, record_ref child_record,
                          menu_kind child_menu) {
    auto child = std::make_unique<tree_node>();
    child->text = std::move(child_text);
    child->kind = child_kind;
    child->record = child_record;
    child->menu = child_menu;
    child->parent = this;
    child->row = children.size();
    children.push_back(std::move(child));
    return *children.back();
}

}  // namespace kestrel::views
