#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextBlock>
#include <nlohmann/json.hpp>

#include "app/search_bar.h"
#include "app/table_tree_model.h"
#include "app/tests/rig.h"
#include "app/transponder_wnd.h"
#include "views/hex_lines.h"
#include "views/scan_json.h"
#include "views/section_bytes.h"
#include "views/tests/scan_fixture.h"
#include "views/tree_text.h"

namespace kestrel::app {
namespace {

using views::tree_node;

AllNetworks synthetic_scan() {
    AllNetworks networks;
    add_transponder(networks, views::testing::onid, 1, views::testing::full_transponder(), 0);
    return networks;
}

// A transponder window on the synthetic scan, shown and active, so that its panes take
// the focus as under a real display.
struct shown_window {
    shown_window() : host(settings, nullptr), networks(synthetic_scan()), window(host) {
        window.resize(1000, 600);
        window.show();
        window.activateWindow();
        testing::wait_until([this] { return window.isActiveWindow(); }, 2000);
        window.SetTable(context, networks);
    }

    const tree_node* selected() { return window.tree_model()->node(window.tree_pane().currentIndex()); }
    void type(const QString& query) { window.search().set_query(query); }
    bool expanded_to(const tree_node& node) {
        for (const tree_node* p = node.parent; p != nullptr; p = p->parent)
            if (!window.tree_pane().isExpanded(window.tree_model()->index_of(*p))) return false;
        return true;
    }
    void select(const tree_node& node) {
        window.tree_pane().setCurrentIndex(window.tree_model()->index_of(node));
    }

    memory_store settings;
    testing::test_host host;
    AllNetworks networks;
    ScanContext context;
    CTransponderWnd window;
};

TEST(Search, GoesRoundTheMatchesExpandingTheirParentsAndEscapeLeavesTheLastSelected) {
    shown_window w;
    w.window.open_search();
    EXPECT_TRUE(w.window.search().isVisible());
    w.type(QStringLiteral("kestrel one"));
    EXPECT_EQ(w.window.search().count(), "3 matches");

    const char* const order[] = {"SERVICE_DESCRIPTOR", "0011 - Kestrel One", "SID 0011 - Kestrel One",
                                 "SERVICE_DESCRIPTOR"};
    for (std::size_t i = 0; i < std::size(order); ++i) {
        w.window.find_next();
        ASSERT_NE(w.selected(), nullptr);
        EXPECT_EQ(w.selected()->text, order[i]);
        EXPECT_TRUE(w.expanded_to(*w.selected())) << order[i];
        EXPECT_EQ(w.window.search().count(), QStringLiteral("%1 of 3").arg(i % 3 + 1));
    }
    w.window.find_next(true);
    EXPECT_EQ(w.selected()->text, "SID 0011 - Kestrel One");
    // The value pane shows the match like any selected node: the service descriptor's rows.
    w.window.find_next(false);
    EXPECT_EQ(w.window.value_pane().topLevelItem(6)->text(1), "Kestrel One");

    w.type(QStringLiteral("0x104"));  // a CA PID, hexadecimal
    w.window.find_next();
    EXPECT_EQ(w.selected()->text, "0");
    EXPECT_EQ(w.selected()->parent->text, "CA_DESCRIPTORS");
    EXPECT_EQ(w.window.search().count(), "1 of 1");

    w.window.close_search();
    EXPECT_FALSE(w.window.search().isVisible());
    EXPECT_EQ(w.selected()->parent->text, "CA_DESCRIPTORS");
    EXPECT_EQ(QApplication::focusWidget(), &w.window.tree_pane());
}

std::string clipboard() {
    return QGuiApplication::clipboard()->text().toStdString();
}

TEST(Copy, TreeNodesAsTheCliWritesThemAndValueRowsAsNamedLines) {
    shown_window w;
    const tree_node& transponder = *w.window.tree_model()->tree().root().children[0]->children[0];
    const tree_node& program = *transponder.children.at(5)->children.at(0);
    ASSERT_EQ(program.text, "0011 - Kestrel One");
    w.select(program);
    w.window.tree_pane().setFocus();
    ASSERT_TRUE(w.window.can_copy());
    w.window.copy();

    // The subtree of `kestrel-cli scan --tree --values`, as deep as the node stands there.
    views::table_tree cli_tree(w.networks);
    const std::string cli = views::tree_text(cli_tree, true);
    std::string indented;
    const std::string copied = clipboard();
    for (std::size_t at = 0, end; (end = copied.find('\n', at)) != std::string::npos; at = end + 1)
        indented.append(8, ' ').append(copied, at, end - at + 1);
    const std::size_t block = cli.find("\n" + indented);
    ASSERT_NE(block, std::string::npos) << copied;
    EXPECT_EQ(cli.compare(block + 1 + indented.size(), 10, "        00"), 0);  // the next program follows
    EXPECT_NE(copied.find("| PCR PID = 0101\n"), std::string::npos);

    w.window.copy_json();
    const auto pmt =
        views::scan_json(w.networks).at("networks")[0].at("transponders")[0].at("tables").at("pmts")[0];
    EXPECT_EQ(nlohmann::ordered_json::parse(clipboard()), pmt);

    value_pane& values = w.window.value_pane();
    values.setFocus();
    EXPECT_FALSE(w.window.can_copy());  // no row selected yet
    values.topLevelItem(0)->setSelected(true);
    values.topLevelItem(11)->setSelected(true);
    ASSERT_TRUE(w.window.can_copy());
    w.window.copy();
    EXPECT_EQ(clipboard(), "TABLE ID = 02\nPCR PID = 0101\n");
}

QPlainTextEdit& bytes_text(shown_window& w) {
    return dynamic_cast<QPlainTextEdit&>(w.window.bytes_pane().text_view());
}

// Where byte `byte` of the shown section stands in the text: its first hex digit.
int hex_position(QPlainTextEdit& text, std::size_t byte) {
    const views::byte_cell cell = views::cell_of(byte);
    return text.document()->findBlockByNumber(static_cast<int>(cell.line)).position() +
           static_cast<int>(cell.hex);
}

TEST(BytesPane, HighlightsTheSelectedRecordAndMoreStronglyItsRowDownToAFlagsBits) {
    shown_window w;
    w.type(QStringLiteral("kestrel one"));
    w.window.find_next();
    const tree_node& descriptor = *w.selected();
    ASSERT_EQ(descriptor.text, "SERVICE_DESCRIPTOR");
    QPlainTextEdit& text = bytes_text(w);
    const views::node_bytes bytes = views::bytes_of(descriptor);
    EXPECT_EQ(text.document()->blockCount(), static_cast<int>((bytes.section.size() + 15) / 16));

    const QList<QTextEdit::ExtraSelection> record = text.extraSelections();
    ASSERT_FALSE(record.isEmpty());
    EXPECT_EQ(record[0].cursor.selectionStart(), hex_position(text, bytes.record->offset));

    w.window.value_pane().setCurrentItem(w.window.value_pane().topLevelItem(6));  // SERVICE_NAME
    const QList<QTextEdit::ExtraSelection> row = text.extraSelections();
    ASSERT_GT(row.size(), record.size());
    EXPECT_TRUE(row[record.size()].cursor.selectedText().startsWith(QStringLiteral("4B 65 73")));  // "Kes"
    EXPECT_TRUE(w.window.bytes_pane().bits_text().isEmpty());

    w.select(*descriptor.parent);  // the service: its flags share a byte
    w.window.value_pane().setCurrentItem(w.window.value_pane().topLevelItem(2));  // EIT_SCHEDULE_FLAG
    EXPECT_TRUE(w.window.bytes_pane().bits_text().endsWith(QStringLiteral(".... ..1.")))
        << w.window.bytes_pane().bits_text().toStdString();
}

TEST(BytesPane, AClickSelectsTheNodeAndRowOfItsByteAndADragCopiesHex) {
    shown_window w;
    w.type(QStringLiteral("kestrel one"));
    w.window.find_next();
    const tree_node& descriptor = *w.selected();
    const views::node_bytes bytes = views::bytes_of(descriptor);
    QPlainTextEdit& text = bytes_text(w);
    const auto click = [&](std::size_t byte) {
        QTextCursor at(text.document());
        at.setPosition(hex_position(text, byte) + 1);
        const QPointF point = text.cursorRect(at).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, point, text.viewport()->mapToGlobal(point), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(text.viewport(), &event);
        }
    };

    click(0);  // table_id: the section's node and its first row
    EXPECT_EQ(w.selected(), views::section_node(descriptor));
    EXPECT_EQ(w.window.value_pane().indexOfTopLevelItem(w.window.value_pane().currentItem()), 0);
    click(bytes.record->offset + 13u);  // a byte of the service name
    EXPECT_EQ(w.selected(), &descriptor);
    EXPECT_EQ(w.window.value_pane().currentItem()->text(0), "SERVICE_NAME");

    QTextCursor drag(text.document());
    drag.setPosition(hex_position(text, 1));
    drag.setPosition(hex_position(text, 3) + 2, QTextCursor::KeepAnchor);
    text.setTextCursor(drag);
    text.setFocus();
    ASSERT_TRUE(w.window.can_copy());
    w.window.copy();
    EXPECT_EQ(clipboard(), views::hex_text(bytes.section.subspan(1, 3)));
}

TEST(BytesPane, F6GoesRoundThePanesAndTheViewMenuHidesTheBytes) {
    shown_window w;
    QWidget* const tree = &w.window.tree_pane();
    QWidget* const values = &w.window.value_pane();
    QWidget* const bytes = &w.window.bytes_pane().text_view();
    tree->setFocus();
    for (QWidget* next : {values, bytes, tree}) {
        w.window.focus_next_pane();
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
    w.window.focus_next_pane(true);
    EXPECT_EQ(QApplication::focusWidget(), bytes);

    w.window.show_bytes_pane(false);
    EXPECT_FALSE(w.window.bytes_pane_shown());
    values->setFocus();
    w.window.focus_next_pane();
    EXPECT_EQ(QApplication::focusWidget(), tree);
}

TEST(Layout, TheTreeTakesTwoFifthsAtFirstAndAStoredLayoutWins) {
    memory_store settings;
    testing::test_host host(settings, nullptr);
    const auto open = [&host] {
        auto* window = new CTransponderWnd(host);
        window->resize(1000, 600);
        window->show();
        QCoreApplication::processEvents();
        return window;
    };
    CTransponderWnd* first = open();
    auto* splitter = first->findChild<QSplitter*>();
    const QList<int> sizes = splitter->sizes();
    const double share = double(sizes[0]) / (sizes[0] + sizes[1]);
    EXPECT_GT(share, 0.35);
    EXPECT_LT(share, 0.45);
    splitter->setSizes({300, sizes[0] + sizes[1] - 300});
    first->value_pane().header()->resizeSection(0, 123);
    first->close();
    testing::run_deferred_deletes();

    CTransponderWnd* second = open();
    EXPECT_EQ(second->findChild<QSplitter*>()->sizes()[0], 300);
    EXPECT_EQ(second->value_pane().header()->sectionSize(0), 123);
    second->close();
    testing::run_deferred_deletes();
}

}  // namespace
}  // namespace kestrel::app
