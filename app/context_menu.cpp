#include "app/context_menu.h"

#include <QMenu>

namespace kestrel::app {

int choose_from_menu(std::span<const context_item> items, const QPoint& global, QWidget* owner) {
    QMenu menu(owner);
    for (std::size_t i = 0; i < items.size(); ++i) {
        QAction* action = menu.addAction(items[i].text);
        action->setEnabled(items[i].enabled);
        action->setData(static_cast<int>(i));
    }
    const QAction* chosen = menu.exec(global);
    return chosen ? chosen->data().toInt() : -1;
}

}  // namespace kestrel::app
