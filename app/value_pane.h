#pragma once

#include <QTreeWidget>
#include <vector>

#include "app/command_host.h"
#include "views/value_rows.h"

namespace kestrel::app {

// The value pane of a transponder window: the "Name" and "Data" rows of the selected
// node's record. Several rows may be selected, to copy them. A right click on a PID row
// offers "PID streaming..." of that PID.
class value_pane : public QTreeWidget {
    Q_OBJECT

  public:
    explicit value_pane(command_host& host, QWidget* parent = nullptr);

    void show_rows(const std::vector<views::value_row>& rows);
    void clear_rows();

    bool has_selection() const { return !selectedItems().isEmpty(); }
    // The selected rows in their order, "NAME = VALUE" a line.
    std::string selected_text() const;

    // "PID streaming...": opens the multiple PID launcher on the selected PID row's PID
    // followed by 31 null PIDs; nothing for another row or none.
    void pid_streaming();

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // What a row offers; kept apart from the records, which may go before the rows do.
    struct row_object {
        views::row_kind kind = views::row_kind::plain;
        std::int32_t pid = 0;
    };
    const row_object* object_of(QTreeWidgetItem* item) const;

    command_host& host_;
    std::vector<row_object> objects_;  // one per row, in row order
};

}  // namespace kestrel::app
