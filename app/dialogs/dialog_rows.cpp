#include "app/dialogs/dialog_rows.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace kestrel::app {

QHBoxLayout* browse_row(QLineEdit& edit, QWidget& dialog, std::function<void()> browse) {
    auto* button = new QPushButton(QStringLiteral("Browse..."), &dialog);
    QObject::connect(button, &QPushButton::clicked, &dialog, std::move(browse));
    auto* row = new QHBoxLayout;
    row->addWidget(&edit, 1);
    row->addWidget(button);
    return row;
}

QComboBox* choice_list(std::span<const char* const> texts, int selected, QWidget& dialog) {
    auto* list = new QComboBox(&dialog);
    for (const char* text : texts)
        list->addItem(QString::fromLatin1(text));
    list->setCurrentIndex(selected);
    return list;
}

}  // namespace kestrel::app
