#include "app/file_chooser.h"

#include <QFileDialog>

namespace kestrel::app {

QString qt_file_chooser::save_file(const save_request& request, QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.default_suffix);
    if (!request.filters.isEmpty()) dialog.setNameFilters(request.filters);
    dialog.selectFile(request.start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    if (request.chosen_filter != nullptr) *request.chosen_filter = dialog.selectedNameFilter();
    return dialog.selectedFiles().front();
}

}  // namespace kestrel::app
