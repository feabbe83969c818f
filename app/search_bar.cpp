#include "app/search_bar.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace kestrel::app {

namespace {

// Leaves Ctrl+C to the window's Copy while no text of the query is selected.
class query_edit final : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;

  protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride && !hasSelectedText() &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            event->ignore();
            return true;
        }
        return QLineEdit::event(event);
    }
};

QToolButton* arrow_button(Qt::ArrowType arrow, const QString& tip, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

search_bar::search_bar(QWidget* parent)
    : QWidget(parent), query_(new query_edit(this)), count_(new QLabel(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel(QStringLiteral("Find:"), this));
    query_->setPlaceholderText(QStringLiteral("name, text or hexadecimal PID/id"));
    query_->setClearButtonEnabled(true);
    layout->addWidget(query_, 1);
    count_->setMinimumWidth(count_->fontMetrics().horizontalAdvance(QStringLiteral("99999 of 99999")));
    layout->addWidget(count_);
    QToolButton* previous_button =
        arrow_button(Qt::UpArrow, QStringLiteral("Previous match (Shift+F3)"), this);
    QToolButton* next_button = arrow_button(Qt::DownArrow, QStringLiteral("Next match (F3)"), this);
    auto* close_button = new QToolButton(this);
    close_button->setText(QStringLiteral("\u00D7"));
    close_button->setToolTip(QStringLiteral("Close (Escape)"));
    close_button->setAutoRaise(true);
    layout->addWidget(previous_button);
    layout->addWidget(next_button);
    layout->addWidget(close_button);

    auto* escape = new QAction(this);
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    escape->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(escape);

    connect(query_, &QLineEdit::textChanged, this, &search_bar::query_changed);
    connect(query_, &QLineEdit::returnPressed, this, [this] {
        if (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier)
            emit previous();
        else
            emit next();
    });
    connect(previous_button, &QToolButton::clicked, this, &search_bar::previous);
    connect(next_button, &QToolButton::clicked, this, &search_bar::next);
    connect(escape, &QAction::triggered, this, &search_bar::closed);
    connect(close_button, &QToolButton::clicked, this, &search_bar::closed);
}

QString search_bar::query() const {
    return query_->text();
}

void search_bar::set_query(const QString& query) {
    query_->setText(query);
}

void search_bar::open() {
    show();
    query_->selectAll();
    query_->setFocus(Qt::ShortcutFocusReason);
}

void search_bar::show_count(const QString& text) {
    count_->setText(text);
}

QString search_bar::count() const {
    return count_->text();
}

}  // namespace kestrel::app
