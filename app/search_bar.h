#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace kestrel::app {

// The search bar above a transponder window's panes: the query, how many nodes match and
// which of them is selected, the previous and next match. Enter goes to the next match,
// Shift+Enter to the previous one, Escape closes the bar. While the query has no text
// selected, Ctrl+C is left to the window, which copies the tree's selection.
class search_bar : public QWidget {
    Q_OBJECT

  public:
    explicit search_bar(QWidget* parent = nullptr);

    QString query() const;
    // As if typed.
    void set_query(const QString& query);
    // Shows the bar with the query's text selected and the focus in it.
    void open();
    // "3 of 12", "12 matches", "No matches" or nothing.
    void show_count(const QString& text);
    QString count() const;

  signals:
    void query_changed(const QString& query);
    void next();
    void previous();
    void closed();

  private:
    QLineEdit* query_;
    QLabel* count_;
};

}  // namespace kestrel::app
