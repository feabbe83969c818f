#pragma once

#include <QPoint>
#include <QString>
#include <span>

class QWidget;

namespace kestrel::app {

struct context_item {
    QString text;
    bool enabled = true;
};

// Shows `items` as a popup menu at `global` (screen coordinates), owned by `owner`, and
// waits until it closes: the index of the item chosen, or -1 when none was. The caller
// runs the command after the menu is gone, so a dialog it opens does not sit under it.
int choose_from_menu(std::span<const context_item> items, const QPoint& global, QWidget* owner);

}  // namespace kestrel::app
