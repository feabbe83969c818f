#pragma once

// Where the program's save dialogs come from: the Qt file dialog in the program, the
// scripted twin of app/testing/scripted_file_chooser.h in the tests.
//
// Conventions: called on the GUI thread, modal on the parent. The dialog asks before
// overwriting an existing file, so a path it returns may be replaced without asking again.

#include <QString>
#include <QStringList>

class QWidget;

namespace kestrel::app {

struct save_request {
    QString start;           // the file shown at opening
    QString default_suffix;  // without the dot ("bin"); added when the user types none
    QStringList filters;     // "Transport streams (*.ts)", in order; empty: every file
    // When not null: set to the filter chosen when the dialog closed (one of `filters`).
    QString* chosen_filter = nullptr;
};

class file_chooser {
  public:
    virtual ~file_chooser() = default;
    // The path the user confirmed, or "" when the dialog was cancelled.
    virtual QString save_file(const save_request& request, QWidget* parent) = 0;
};

class qt_file_chooser final : public file_chooser {
  public:
    QString save_file(const save_request& request, QWidget* parent) override;
};

}  // namespace kestrel::app
