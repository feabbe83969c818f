#include "app/tree_commands.h"

#include <variant>

#include "app/dialogs/tuning_dlg.h"
#include "app/message_box.h"
#include "log/trace_log.h"
#include "views/pid_rules.h"
#include "views/set_tuner.h"

namespace kestrel::app {

namespace {

using views::tree_command;

const char* trace_line(tree_command command) {
    switch (command) {
        case tree_command::emm_streaming:
            return "CTransponderTableListPaneWnd::OnTransponderEmmstreaming()";
        case tree_command::ecm_streaming:
            return "CTransponderTableListPaneWnd::OnTransponderEcmstreaming()";
        case tree_command::emm_ecm_streaming:
            return "CTransponderTableListPaneWnd::OnTransponderEmmecmstreaming()";
        case tree_command::set_tuner:
            return "CTransponderTableListPaneWnd::OnSatellitedeliverysystemSettuner()";
        default:
            // The video, audio and private commands write the program ECM command's line.
            return "CTransponderTableListPaneWnd::OnPmtEcmstreaming()";
    }
}

template <class Record>
const Record* record_of(const views::tree_node& node) {
    const Record* const* record = std::get_if<const Record*>(&node.record);
    return record ? *record : nullptr;
}

// The PIDs a streaming command records from `node`, or why the node does not have them.
std::variant<views::pid_list, QString> streaming_pids(tree_command command, const views::tree_node& node) {
    if (node.kind == views::item_kind::none) return QStringLiteral("No context");
    switch (command) {
        case tree_command::emm_streaming:
        case tree_command::ecm_streaming:
        case tree_command::emm_ecm_streaming: {
            const Transponder* tp = record_of<Transponder>(node);
            if (tp == nullptr) return QStringLiteral("No transponder object");
            if (command == tree_command::emm_streaming) return views::emm_pids(*tp);
            if (command == tree_command::ecm_streaming) return views::ecm_pids(*tp);
            return views::emm_ecm_pids(*tp);
        }
        default:
            break;
    }
    const lib13818::Pmt* pmt = record_of<lib13818::Pmt>(node);
    if (pmt == nullptr) return QStringLiteral("No context");
    switch (command) {
        case tree_command::video_streaming:
            return views::video_pids(*pmt);
        case tree_command::audio_streaming:
            return views::audio_pids(*pmt);
        case tree_command::private_streaming:
            return views::private_pids(*pmt);
        default:
            return views::ecm_pids(*pmt);
    }
}

void set_tuner(const views::tree_node& node, command_host& host, QWidget* parent) {
    const auto* delivery = record_of<lib13818::DescriptorSatelliteDeliverySystem>(node);
    if (delivery == nullptr) {
        show_message(parent, QStringLiteral("No context"));
        return;
    }
    dvb_device* device = host.device();
    if (device == nullptr) return;  // the menu offers the command only with a DVB-S card
    TUNERPARM read_back;
    const std::uint32_t read_result = device->get_tuner(read_back);
    const auto tuning = views::tuning_from(*delivery, read_back, read_result);
    if (const auto* reason = std::get_if<std::string>(&tuning)) {
        show_message(parent, QString::fromStdString(*reason));
        return;
    }
    CTuningDlg(std::get<TUNERPARM>(tuning), *device, host.settings(), parent).exec();
}

}  // namespace

needs tree_command_needs(tree_command command) {
    return command == tree_command::set_tuner ? needs::card_dvb_s : needs::card_locked;
}

void run_tree_command(tree_command command, const views::tree_node* clicked, command_host& host,
                      QWidget* parent) {
    global_trace().log(2, "%s", trace_line(command));
    if (clicked == nullptr) {
        show_message(parent, QStringLiteral("No selected item"));
        return;
    }
    if (command == tree_command::set_tuner) {
        set_tuner(*clicked, host, parent);
        return;
    }
    const auto pids = streaming_pids(command, *clicked);
    if (const auto* reason = std::get_if<QString>(&pids)) {
        show_message(parent, *reason);
        return;
    }
    host.record_pids(std::get<views::pid_list>(pids), parent);
}

}  // namespace kestrel::app
