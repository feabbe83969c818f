#pragma once

#include <QWidget>
#include <cstddef>
#include <optional>
#include <string>

#include "views/section_bytes.h"

class QLabel;
class QPlainTextEdit;

namespace kestrel::app {

// The bytes pane of a transponder window: the section behind the selected node as hex and
// ASCII, 16 bytes a line, the node's record highlighted and the selected value row's bits
// more strongly; below the lines, the bits of a row that does not fill its bytes. A click
// on a byte asks the window for the node and row that own it; a drag selects bytes to copy.
// The texts and positions come from the views (hex_lines.h); the pane only draws them.
class bytes_pane : public QWidget {
    Q_OBJECT

  public:
    explicit bytes_pane(QWidget* parent = nullptr);

    // The node's section with its record highlighted, no row; nothing for an empty section.
    void show_bytes(views::node_bytes bytes);
    // The row's bits highlighted over the record's; none: the record's alone.
    void highlight_row(std::optional<std::size_t> row);

    // The widget that takes the focus.
    QWidget& text_view();
    bool has_selection() const;
    // The selected bytes as hex ("47 00 B0"); empty without a selection.
    std::string selected_hex() const;
    // The text shown below the lines: the selected row's bits, or nothing.
    QString bits_text() const;

  signals:
    // A click (not a drag) on the hex or the character of a byte.
    void byte_clicked(std::size_t byte);

  private:
    class text_view_widget;

    void paint_highlights();
    void clicked_at(int line, int column);

    text_view_widget* text_;
    QLabel* bits_;
    views::node_bytes bytes_;
    std::optional<std::size_t> row_;
};

}  // namespace kestrel::app
