#include "app/message_box.h"

namespace kestrel::app {

namespace {

message_hook& hook() {
    static message_hook installed;
    return installed;
}

question_hook& question() {
    static question_hook installed;
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

QMessageBox::StandardButton ask_question(QWidget* parent, const QString& text,
                                         QMessageBox::StandardButtons buttons) {
    if (question()) return question()(text);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Kestrel"), text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void set_question_hook(question_hook installed) {
    question() = std::move(installed);
}

}  // namespace kestrel::app
