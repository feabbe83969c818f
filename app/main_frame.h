#pragma once

#include <QMainWindow>
#include <vector>

#include "app/command_table.h"

class QComboBox;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;

namespace kestrel::app {

class CKestrel2App;
class CTransponderWnd;

// The main window: the document windows in an MDI area, the two menus of the command
// table, the card bar and the three status panes.
class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    explicit CMainFrame(CKestrel2App& app);
    ~CMainFrame() override;

    QMdiArea& mdi_area() { return *mdi_; }
    QComboBox& card_list() { return *cards_; }

    // The idle work of the status timer: the menu for whether a document window is open,
    // every command's enabled state, the status panes. Nothing while a modal dialog runs.
    void refresh();
    // Every command's enabled state, from the command table's conditions; nothing while a
    // modal dialog runs.
    void update_command_states();
    void update_status_panes();
    // The document menu while any document window exists, the other menu otherwise.
    void update_menus();
    // The card bar's list, from the card in use.
    void fill_card_list();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    struct bound_action {
        QAction* action;
        needs condition;
    };

    void create_menus();
    void create_pane_keys();
    void create_card_bar();
    void create_status_bar();
    void restore_settings();

    QMenu* build_menu(bool document, std::string_view title);
    QAction* add_command(QMenu& menu, const command_entry& entry, const char* text);
    void add_recent_menu(QMenu& menu, const command_entry& entry, const char* text);
    void list_recent_captures(QMenu& menu);
    void open_recent_capture(const QString& file);
    void run(command id);
    void update_title();
    void list_windows();
    void arrange_icons();
    void show_bytes_panes(bool shown);
    void choose_card(int index);
    void open_capture();
    void open_tuning();
    void open_address(const QUrl& address);
    void show_about();
    bool has_document() const;
    // The transponder window the edit commands act on: the active one.
    CTransponderWnd* active_window() const;

    CKestrel2App& app_;
    QMdiArea* mdi_;
    QComboBox* cards_ = nullptr;
    QLabel* panes_[4] = {};
    QTimer* status_timer_;
    std::vector<QMenu*> menus_[2];  // without, with a document window
    QMenu* window_menu_ = nullptr;
    std::vector<QAction*> window_list_;
    std::vector<bound_action> actions_;
    int shown_menu_ = -1;
};

}  // namespace kestrel::app
