#pragma once

// Controls that several dialogs build the same way.

#include <functional>
#include <span>

class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QWidget;

namespace kestrel::app {

// A file name edit with its "Browse..." button beside it, which calls `browse`.
QHBoxLayout* browse_row(QLineEdit& edit, QWidget& dialog, std::function<void()> browse);

// A drop-down list of `texts` with the entry `selected` chosen.
QComboBox* choice_list(std::span<const char* const> texts, int selected, QWidget& dialog);

}  // namespace kestrel::app
