#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

namespace kestrel::app {

// Every message box of the program goes through here, so that a test sees the text
// instead of a window that waits for a click.
void show_message(QWidget* parent, const QString& text, QMessageBox::Icon icon = QMessageBox::Warning);

// A question with the given buttons; the button pressed (or the escape button).
QMessageBox::StandardButton ask_question(QWidget* parent, const QString& text,
                                         QMessageBox::StandardButtons buttons);

// Tests: while a hook is set, each message goes to it and no box is shown. An empty hook
// shows boxes again.
using message_hook = std::function<void(const QString& text)>;
void set_message_hook(message_hook hook);
// Tests: while set, each question goes to the hook, which answers it.
using question_hook = std::function<QMessageBox::StandardButton(const QString& text)>;
void set_question_hook(question_hook hook);

}  // namespace kestrel::app
