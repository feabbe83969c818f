#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QTimer>
#include <stdexcept>

#include "app/dialogs/tuning_dlg.h"
#include "app/table_tree_model.h"
#include "app/tests/rig.h"
#include "app/transponder_wnd.h"
#include "app/tree_commands.h"
#include "views/tests/scan_fixture.h"

namespace kestrel::app {
namespace {

using views::null_pid;
using views::tree_command;
using views::tree_node;

// One transponder with EMMs in its CAT, a program with ECMs and four kinds of stream, and
// a NIT announcing the transponder by a satellite delivery system descriptor.
AllNetworks one_transponder() {
    using namespace encode;
    using views::testing::concat;
    using views::testing::parse;
    Transponder tp = views::testing::tuned(1);
    tp.CAT = parse<lib13818::Cat>(
        cat_section({0x01, 0xFFFF}, concat({ca_descriptor(0x0B00, 0x1F1), ca_descriptor(0x0100, 0x1F0)})));
    tp.PMTs.push_back(parse<lib13818::Pmt>(
        pmt_section({0x02, 0x11}, 0x101, concat({ca_descriptor(0x0B00, 0x601), ca_descriptor(0x0100, 0x600)}),
                    {{0x02, 0x101, ca_descriptor(0x0B00, 0x700)},
                     {0x03, 0x102, {}},
                     {0x06, 0x103, {}},
                     {0x81, 0x104, {}}})));
    satellite_delivery delivery;
    delivery.frequency_khz = 11778000;
    delivery.polarization = 1;
    delivery.symbol_rate = 27500000;
    file_section(tp.nit_actual,
                 parse<lib13818::Nit>(network_section(
                     {0x40, 0x2F01}, {}, {{1, 0x2F00, satellite_delivery_system_descriptor(delivery)}})));
    AllNetworks networks;
    add_transponder(networks, 0x2F00, 1, tp, 0);
    return networks;
}

// Right-clicks the pane at `point` (viewport coordinates). The menu that opens is read
// ("(text)" for a greyed item, items joined by "|") and closed, or its item `choose` chosen.
std::string right_click(QAbstractScrollArea& pane, QPoint point, int choose = -1) {
    QStringList seen;
    QTimer timer;  // gone when no menu opened, so it never fires into a later test
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        for (const QAction* action : menu->actions())
            seen << (action->isEnabled() ? action->text() : "(" + action->text() + ")");
        if (choose < 0) {
            menu->close();
            return;
        }
        menu->setActiveAction(menu->actions().at(choose));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    });
    timer.start(0);
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, pane.viewport()->mapToGlobal(point));
    QApplication::sendEvent(pane.viewport(), &event);
    return seen.join('|').toStdString();
}

// The first node, depth first, whose text starts with `text`.
const tree_node* find(const tree_node& node, std::string_view text) {
    if (node.text.starts_with(text)) return &node;
    for (const auto& child : node.children)
        if (const tree_node* found = find(*child, text)) return found;
    return nullptr;
}

// A transponder window on one_transponder() over a card of the given kind.
struct shown_window {
    explicit shown_window(std::int32_t frontend = frontend_dvb_s, bool locked = true)
        : card(frontend, locked), host(card.settings, card.device.get()), networks(one_transponder()) {
        window.SetTable(context, networks);
        window.resize(900, 700);
        window.findChild<QSplitter*>()->setSizes({600, 300});  // room for the deepest nodes
        window.show();
    }

    const tree_node& node(std::string_view text) {
        const tree_node* found = find(window.tree_model()->tree().root(), text);
        if (found == nullptr) throw std::runtime_error("no node " + std::string(text));
        return *found;
    }
    QModelIndex index(const tree_node& n) {
        table_tree_model& model = *window.tree_model();
        return n.parent ? model.index(static_cast<int>(n.row), 0, index(*n.parent)) : model.index(0, 0);
    }
    // Right-clicks the node, its ancestors expanded first.
    std::string right_click_node(const tree_node& n, int choose = -1) {
        for (const tree_node* up = n.parent; up; up = up->parent)
            window.tree_pane().expand(index(*up));
        window.tree_pane().scrollTo(index(n));
        return right_click(window.tree_pane(), window.tree_pane().visualRect(index(n)).center(), choose);
    }
    // Selects the node and right-clicks the value row of that name.
    std::string right_click_row(const tree_node& n, const QString& name, int choose = -1) {
        window.tree_pane().setCurrentIndex(index(n));
        value_pane& values = window.value_pane();
        const QList<QTreeWidgetItem*> rows = values.findItems(name, Qt::MatchExactly);
        if (rows.size() != 1) throw std::runtime_error("no row " + name.toStdString());
        return right_click(values, values.visualItemRect(rows.front()).center(), choose);
    }

    testing::rig card;
    testing::test_host host;
    AllNetworks networks;
    ScanContext context;
    CTransponderWnd window{host};
};

views::pid_list pids(std::initializer_list<std::int32_t> first) {
    views::pid_list list;
    list.fill(null_pid);
    std::copy(first.begin(), first.end(), list.begin());
    return list;
}

constexpr const char* transponder_menu = "EMM Streaming ...|ECM streaming ...|EMM+ECM streaming ...";
constexpr std::string_view transponder_label = "0001 - 11778";
constexpr std::string_view program_label = "0011 - ";
constexpr std::string_view delivery_label = "SATELLITEDELIVERYSYSTEM_DESCRIPTOR";
constexpr std::string_view video_label = "ISO13818-2 VIDEO";

TEST(TreeCommands, OpenTheLauncherWithTheirPidsOrSayWhyNot) {
    shown_window w;
    const tree_node& tp = w.node(transponder_label);
    const tree_node& program = w.node(program_label);
    const struct {
        tree_command command;
        const tree_node& node;
        views::pid_list expected;
    } cases[] = {
        {tree_command::emm_streaming, tp, pids({0x1F0, 0x1F1})},
        {tree_command::ecm_streaming, tp, pids({0x600, 0x601, 0x700})},
        {tree_command::emm_ecm_streaming, tp, pids({0x1F0, 0x1F1, 0x600, 0x601, 0x700})},
        {tree_command::program_ecm_streaming, program, pids({0x600, 0x601, 0x700})},
        {tree_command::video_streaming, program, pids({0x101})},
        {tree_command::audio_streaming, program, pids({0x102})},
        {tree_command::private_streaming, program, pids({0x104})},
    };
    for (const auto& c : cases) {
        run_tree_command(c.command, &c.node, w.host, &w.window);
        ASSERT_FALSE(w.host.recorded.empty());
        EXPECT_EQ(w.host.recorded.back(), c.expected) << static_cast<int>(c.command);
    }

    w.host.recorded.clear();
    run_tree_command(tree_command::emm_streaming, nullptr, w.host, &w.window);
    run_tree_command(tree_command::video_streaming, &w.node("CA_DESCRIPTORS"), w.host, &w.window);
    run_tree_command(tree_command::ecm_streaming, &program, w.host, &w.window);
    run_tree_command(tree_command::audio_streaming, &tp, w.host, &w.window);
    run_tree_command(tree_command::set_tuner, &tp, w.host, &w.window);
    EXPECT_EQ(w.card.messages.join("|"),
              "No selected item|No context|No transponder object|No context|No context");
    EXPECT_TRUE(w.host.recorded.empty());
}

TEST(TreeCommands, SetTunerOpensTheTuningDialogOnTheDescriptorsTransponder) {
    shown_window w;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<CTuningDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        EXPECT_DOUBLE_EQ(dialog->record().frequency, 11.778);
        EXPECT_EQ(dialog->record().word_a, 1);
        EXPECT_EQ(dialog->record().word_c, 27500u);
        EXPECT_EQ(dialog->frequency().text(), "11778");
        EXPECT_EQ(dialog->symbol_rate().text(), "27500");
        dialog->reject();
    });
    run_tree_command(tree_command::set_tuner, &w.node(delivery_label), w.host, &w.window);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(w.card.messages.empty());

    // A cable card greys the command; run all the same, it gives the reason, not the dialog.
    shown_window cable(frontend_dvb_c);
    EXPECT_EQ(cable.right_click_node(cable.node(delivery_label)), "(Set tuner...)");
    EXPECT_EQ(cable.right_click_node(cable.node(transponder_label)), transponder_menu);
    run_tree_command(tree_command::set_tuner, &cable.node(delivery_label), cable.host, &cable.window);
    EXPECT_EQ(cable.card.messages.size(), 1);
}

TEST(ContextMenus, ARightClickActsOnTheNodeOrRowUnderTheCursor) {
    shown_window w;
    table_tree_pane& tree = w.window.tree_pane();
    const tree_node& tp = w.node(transponder_label);
    EXPECT_EQ(w.right_click_node(tp, 0), transponder_menu);
    EXPECT_EQ(tree.clicked(), &tp);
    EXPECT_EQ(tree.currentIndex(), w.index(tp));
    ASSERT_EQ(w.host.recorded.size(), 1u);
    EXPECT_EQ(w.host.recorded.back(), pids({0x1F0, 0x1F1}));

    EXPECT_EQ(w.right_click_node(w.node(program_label), 1),
              "ECM streaming...|Video streaming...|Audio streaming...|Private section streaming...");
    EXPECT_EQ(w.host.recorded.back(), pids({0x101}));

    // A node without a menu is still selected; empty space selects nothing.
    const tree_node& cat = w.node("CAT");
    EXPECT_EQ(w.right_click_node(cat), "");
    EXPECT_EQ(tree.currentIndex(), w.index(cat));
    EXPECT_GT(w.window.value_pane().topLevelItemCount(), 0);
    EXPECT_EQ(right_click(tree, QPoint(5, tree.viewport()->height() - 2)), "");
    EXPECT_EQ(tree.clicked(), nullptr);
    EXPECT_EQ(tree.currentIndex(), w.index(cat));

    // Of the video stream's rows only ELEMENTARY PID has a menu, whichever row was selected.
    const tree_node& video = w.node(video_label);
    EXPECT_EQ(w.right_click_row(video, "STREAM TYPE"), "");
    w.host.recorded.clear();
    EXPECT_EQ(w.right_click_row(video, "ELEMENTARY PID", 0), "PID streaming...");
    ASSERT_EQ(w.host.recorded.size(), 1u);
    EXPECT_EQ(w.host.recorded.back(), pids({0x101}));
    EXPECT_TRUE(w.card.messages.empty());
}

TEST(ContextMenus, StreamingIsGreyedWithoutALockedCard) {
    shown_window unlocked(frontend_dvb_s, false);
    EXPECT_EQ(unlocked.right_click_node(unlocked.node(transponder_label)),
              "(EMM Streaming ...)|(ECM streaming ...)|(EMM+ECM streaming ...)");
    EXPECT_EQ(unlocked.right_click_node(unlocked.node(delivery_label)), "Set tuner...");
    EXPECT_EQ(unlocked.right_click_row(unlocked.node(video_label), "ELEMENTARY PID"), "(PID streaming...)");
}

}  // namespace
}  // namespace kestrel::app
