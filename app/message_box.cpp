#include "app/message_box.h"

namespace kestrel::app {

namespace {

message_hook& hook() {
    static message_hook installed;
    return installed;
}

}  // namespace

void show_message(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    if (hook()) {
        hook()(text);
        return;
    }
    QMessageBox box(icon, QStringLiteral("Kestrel"), text, QMessageBox::Ok, parent);
    box.exec();
}

void set_message_hook(message_hook installed) {
    hook() = std::move(installed);
}

}  // namespace kestrel::app
