#include "app/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "app/analysis_command.h"
#include "app/card_list.h"
#include "app/channel_list_command.h"
#include "app/dialogs/database_export_dlg.h"
#include "app/dialogs/lnb_config_dlg.h"
#include "app/dialogs/lnb_disq_dlg.h"
#include "app/dialogs/settings_dlg.h"
#include "app/dialogs/si_table_dlg.h"
#include "app/dialogs/single_pid_streaming_dlg.h"
#include "app/dialogs/tuning_dlg.h"
#include "app/guide_command.h"
#include "app/help_links.h"
#include "app/kestrel_app.h"
#include "app/message_box.h"
#include "app/recent_captures.h"
#include "app/scan_command.h"
#include "app/status_panes.h"
#include "app/transponder_wnd.h"
#include "app/window_geometry.h"
#include "device/dvb_device.h"
#include "settings/keys.h"
#include "startup/build_info.h"
#include "views/pid_rules.h"

namespace kestrel::app {

namespace {

constexpr int status_period_ms = 400;
constexpr std::string_view geometry_key = "mainframe";
// Fits a 1280x800 screen with its panels and the window's frame.
constexpr QSize first_size{1200, 720};
const QString capture_file_filter = QStringLiteral(
    "Transport stream captures (*.ts *.m2ts *.trp);;Capture manifests (*.manifest);;All files (*)");

QString dropped_capture(const QMimeData& data) {
    const QList<QUrl> urls = data.urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return {};
    const QString file = urls.front().toLocalFile();
    for (const char* suffix : {".ts", ".m2ts", ".trp", ".manifest"})
        if (file.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) return file;
    return {};
}
constexpr int first_single_pid = 0x100;  // the PID "Single PID" opens on

bool holds_transport_stream(const AllNetworks& networks) {
    for (const auto& [onid, network] : networks)
        if (!network.transponders.empty()) return true;
    return false;
}

}  // namespace

CMainFrame::CMainFrame(CKestrel2App& app)
    : app_(app), mdi_(new QMdiArea(this)), status_timer_(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Kestrel"));
    setCentralWidget(mdi_);
    create_menus();
    create_pane_keys();
    create_card_bar();
    create_status_bar();
    restore_settings();
    setAcceptDrops(true);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (auto* transponder = qobject_cast<CTransponderWnd*>(window))
            connect(transponder, &CTransponderWnd::selection_changed, this,
                    &CMainFrame::update_command_states, Qt::UniqueConnection);
        update_menus();
        update_title();
        update_command_states();
    });
    // What Copy acts on follows the focus at once, so that its keys never reach a pane
    // while the command is stale.
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::update_command_states);
    connect(status_timer_, &QTimer::timeout, this, &CMainFrame::refresh);
    status_timer_->start(status_period_ms);
}

// The MDI area outlives this part of the frame and says goodbye to its windows as they go;
// the focus moves as they go.
CMainFrame::~CMainFrame() {
    disconnect(mdi_, nullptr, this, nullptr);
    disconnect(qApp, nullptr, this, nullptr);
}

void CMainFrame::create_menus() {
    for (const bool document : {false, true})
        for (const std::string_view title : menu_titles(document))
            menus_[document].push_back(build_menu(document, title));
    update_menus();
}

// One top-level menu of one of the two menus, with its items and submenus in table order.
QMenu* CMainFrame::build_menu(bool document, std::string_view title) {
    auto* menu = new QMenu(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())), this);
    QMenu* submenu = nullptr;
    std::string_view submenu_title;
    for (const command_entry& entry : command_table()) {
        const char* text = document ? entry.document : entry.no_document;
        if (entry.menu != title || text == nullptr) continue;
        QMenu* target = menu;
        if (!entry.submenu.empty()) {
            if (entry.submenu != submenu_title) {
                submenu_title = entry.submenu;
                submenu = menu->addMenu(
                    QString::fromUtf8(entry.submenu.data(), static_cast<qsizetype>(entry.submenu.size())));
                connect(submenu, &QMenu::aboutToShow, this, &CMainFrame::update_command_states);
            }
            target = submenu;
        } else if (entry.separator_before) {
            menu->addSeparator();
        }
        if (entry.id == command::recent_captures)
            add_recent_menu(*target, entry, text);
        else
            add_command(*target, entry, text);
    }
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::update_command_states);
    if (title == "&Window") {
        window_menu_ = menu;
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::list_windows);
    }
    return menu;
}

QAction* CMainFrame::add_command(QMenu& menu, const command_entry& entry, const char* text) {
    QAction* action = menu.addAction(QString::fromUtf8(text));
    action->setShortcuts(QKeySequence::listFromString(QString::fromUtf8(entry.keys)));
    const command id = entry.id;
    if (id == command::view_status_bar) {
        action->setCheckable(true);
        action->setChecked(true);
        connect(action, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    } else if (id == command::view_bytes_pane) {
        action->setCheckable(true);
        action->setChecked(CTransponderWnd::bytes_pane_wanted(app_.settings()));
        connect(action, &QAction::toggled, this, &CMainFrame::show_bytes_panes);
    } else {
        connect(action, &QAction::triggered, this, [this, id] { run(id); });
    }
    actions_.push_back({action, entry.condition});
    return action;
}

// The submenu lists the recent captures each time it opens.
void CMainFrame::add_recent_menu(QMenu& menu, const command_entry& entry, const char* text) {
    QMenu* recent = menu.addMenu(QString::fromUtf8(text));
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { list_recent_captures(*recent); });
    actions_.push_back({recent->menuAction(), entry.condition});
}

void CMainFrame::list_recent_captures(QMenu& menu) {
    menu.clear();
    const std::vector<std::string> files = recent_captures(app_.settings());
    if (files.empty()) menu.addAction(QStringLiteral("(none)"))->setEnabled(false);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const QString file = QString::fromStdString(files[i]);
        QAction* action = menu.addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QString(file).replace('&', QStringLiteral("&&"))));
        connect(action, &QAction::triggered, this, [this, file] { open_recent_capture(file); });
    }
}

void CMainFrame::open_recent_capture(const QString& file) {
    if (!QFileInfo::exists(file)) {
        forget_capture(app_.settings(), file.toStdString());
        show_message(
            this, QStringLiteral("%1 no longer exists; it was removed from the recent captures.").arg(file));
        return;
    }
    app_.open_capture(file.toStdString());
}

// F6 and Shift+F6 move between the panes of the active document window.
void CMainFrame::create_pane_keys() {
    for (const auto& [key, back] : {std::pair{"F6", false}, std::pair{"Shift+F6", true}}) {
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(QString::fromLatin1(key)));
        const bool backward = back;
        connect(action, &QAction::triggered, this, [this, backward] {
            if (auto* window = qobject_cast<CTransponderWnd*>(mdi_->currentSubWindow()))
                window->focus_next_pane(backward);
        });
        addAction(action);
    }
}

void CMainFrame::create_card_bar() {
    QToolBar* bar = addToolBar(QStringLiteral("Card"));
    bar->setObjectName(QStringLiteral("card bar"));
    bar->setMovable(false);
    QAction* rescan = bar->addAction(QStringLiteral("Rescan"));
    cards_ = new QComboBox(bar);
    cards_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    bar->addWidget(cards_);
    connect(rescan, &QAction::triggered, this, &CMainFrame::fill_card_list);
    connect(cards_, &QComboBox::activated, this, &CMainFrame::choose_card);
    fill_card_list();
}

void CMainFrame::create_status_bar() {
    const status_texts texts = initial_status();
    const QString* initial[] = {&texts.lock, &texts.level, &texts.quality, &texts.decibels};
    const QString widest[] = {
        QStringLiteral("Signal quality: 100 %"), QStringLiteral("Signal quality: 100 %"),
        QStringLiteral("Signal quality: 100 %"), QStringLiteral("Strength: -100.0 dBm  CNR: 40.0 dB")};
    for (std::size_t i = 0; i < std::size(panes_); ++i) {
        panes_[i] = new QLabel(*initial[i], this);
        panes_[i]->setMinimumWidth(fontMetrics().horizontalAdvance(widest[i]));
        statusBar()->addPermanentWidget(panes_[i]);
    }
}

void CMainFrame::restore_settings() {
    resize(first_size);
    restoreGeometry(read_window_state(app_.settings(), geometry_key));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    write_window_state(app_.settings(), geometry_key, saveGeometry());
    mdi_->closeAllSubWindows();
    QMainWindow::closeEvent(event);
}

void CMainFrame::refresh() {
    if (QApplication::activeModalWidget() != nullptr) return;
    update_menus();
    update_title();
    update_command_states();
    update_status_panes();
}

bool CMainFrame::has_document() const {
    return !mdi_->subWindowList().isEmpty();
}

CTransponderWnd* CMainFrame::active_window() const {
    return qobject_cast<CTransponderWnd*>(mdi_->currentSubWindow());
}

void CMainFrame::update_command_states() {
    // A modal dialog's worker may be using the card.
    if (QApplication::activeModalWidget() != nullptr) return;
    const card_state card = read_card_state(app_.device(), app_.analysing());
    const CTransponderWnd* window = active_window();
    const window_state documents{has_document(), window != nullptr && window->can_copy(),
                                 window != nullptr && window->can_copy_json(),
                                 holds_transport_stream(app_.all_networks())};
    for (const bound_action& bound : actions_)
        bound.action->setEnabled(is_enabled(bound.condition, card, documents));
}

void CMainFrame::update_status_panes() {
    const status_texts texts = read_status(app_.device());
    panes_[0]->setText(texts.lock);
    panes_[1]->setText(texts.level);
    panes_[2]->setText(texts.quality);
    panes_[3]->setText(texts.decibels);
}

void CMainFrame::update_menus() {
    const int wanted = has_document() ? 1 : 0;
    if (wanted == shown_menu_) return;
    shown_menu_ = wanted;
    menuBar()->clear();
    for (QMenu* menu : menus_[wanted])
        menuBar()->addMenu(menu);
}

// The active document window's title; under a dialog, where none is active, the last one's.
void CMainFrame::update_title() {
    QMdiSubWindow* window = mdi_->currentSubWindow();
    if (window == nullptr && has_document()) window = mdi_->subWindowList().back();
    setWindowTitle(window != nullptr ? QStringLiteral("Kestrel - ") + window->windowTitle()
                                     : QStringLiteral("Kestrel"));
}

// The Window menu lists the open document windows after its fixed items.
void CMainFrame::list_windows() {
    for (QAction* action : window_list_)
        delete action;
    window_list_.clear();
    const QList<QMdiSubWindow*> windows = mdi_->subWindowList();
    if (windows.isEmpty()) return;
    window_list_.push_back(window_menu_->addSeparator());
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QAction* action =
            window_menu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(window->windowTitle()));
        action->setCheckable(true);
        action->setChecked(window == mdi_->currentSubWindow());
        connect(action, &QAction::triggered, this, [this, window] { mdi_->setActiveSubWindow(window); });
        window_list_.push_back(action);
    }
}

// Every transponder window's bytes pane, and those of the windows to come.
void CMainFrame::show_bytes_panes(bool shown) {
    for (QMdiSubWindow* window : mdi_->subWindowList())
        if (auto* transponder = qobject_cast<CTransponderWnd*>(window)) transponder->show_bytes_pane(shown);
    CTransponderWnd::keep_bytes_pane_choice(app_.settings(), shown);
}

// Minimised document windows in a row along the bottom of the MDI area.
void CMainFrame::arrange_icons() {
    int x = 0;
    for (QMdiSubWindow* window : mdi_->subWindowList()) {
        if (!window->isMinimized()) continue;
        window->move(x, mdi_->viewport()->height() - window->height());
        x += window->width();
    }
}

void CMainFrame::run(command id) {
    switch (id) {
        case command::file_transponder:
            app_.OnFileNewTransponder();
            break;
        case command::file_close:
            if (QMdiSubWindow* window = mdi_->currentSubWindow()) window->close();
            break;
        case command::open_capture:
            open_capture();
            break;
        case command::analyse_capture:
            open_capture_analysis(app_);
            break;
        case command::stream_analysis:
            open_stream_analysis(app_);
            break;
        case command::exit:
            close();
            break;
        case command::copy:
            if (CTransponderWnd* window = active_window()) window->copy();
            break;
        case command::copy_json:
            if (CTransponderWnd* window = active_window()) window->copy_json();
            break;
        case command::scan_transponder:
            run_scan_command(app_, ScanContext::current_transponder);
            break;
        case command::scan_nit:
            run_scan_command(app_, ScanContext::current_nit);
            break;
        case command::scan_satellites:
            run_scan_command(app_, ScanContext::configured_satellites);
            break;
        case command::programme_guide:
            open_programme_guide(app_);
            break;
        case command::tuning:
            open_tuning();
            break;
        case command::satellite_settings:
            CLnbConfigDlg(app_.settings(), app_.satellites(), this).exec();
            break;
        case command::si_tables:
            CSITableDlg(app_.settings(), this).exec();
            break;
        case command::general_settings:
            CSettingsDlg(app_.settings(), this).exec();
            break;
        case command::lnb_settings:
            if (app_.device() != nullptr) CLnbDisqDlg(app_.settings(), *app_.device(), this).exec();
            break;
        case command::single_pid:
            if (app_.device() != nullptr)
                CSinglePIDStreamingDlg(first_single_pid, *app_.device(), app_.settings(), app_.files(), this)
                    .exec();
            break;
        case command::multiple_pid:
            app_.record_pids(views::to_pid_list({}), this);
            break;
        case command::database_export:
            CDatabaseExportDlg(app_.all_networks(), app_.settings(), app_.files(), this).exec();
            break;
        case command::channel_list_export:
            export_channel_list(app_.all_networks(), app_.settings(), app_.files(), this);
            break;
        case command::window_cascade:
            mdi_->cascadeSubWindows();
            break;
        case command::window_tile:
            mdi_->tileSubWindows();
            break;
        case command::window_arrange:
            arrange_icons();
            break;
        case command::about:
            show_about();
            break;
        case command::homepage:
            open_address(homepage_url());
            break;
        case command::email:
            open_address(mail_url());
            break;
        case command::updates:
            open_address(update_url(startup::build_number()));
            break;
        default:
            // Undo, Cut, Paste and "New" have no handler.
            break;
    }
}

void CMainFrame::open_capture() {
    const QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open capture"), QString::fromStdString(last_capture_folder(app_.settings())),
        capture_file_filter);
    if (!file.isEmpty()) app_.open_capture(file.toStdString());
}

// One local file, a capture or a manifest by its name, opens like "Open capture...".
void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!dropped_capture(*event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString file = dropped_capture(*event->mimeData());
    if (file.isEmpty()) return;
    event->acceptProposedAction();
    // After the drop has ended: the scan runs a modal dialog.
    QTimer::singleShot(0, this, [this, file] { app_.open_capture(file.toStdString()); });
}

void CMainFrame::open_tuning() {
    dvb_device* device = app_.device();
    if (device == nullptr) return;
    CTuningDlg(read_tuning(*device), *device, app_.settings(), this).exec();
}

void CMainFrame::open_address(const QUrl& address) {
    if (!QDesktopServices::openUrl(address))
        show_message(this, QStringLiteral("Could not open %1").arg(address.toString()));
}

void CMainFrame::show_about() {
    QMessageBox::about(this, QStringLiteral("About Kestrel"),
                       QStringLiteral("<p><b>Kestrel</b> version %1, build %2</p>"
                                      "<p>Explores the PSI/SI tables of DVB transport streams.</p>"
                                      "<p><a href=\"%3\">%3</a><br>%4</p>")
                           .arg(QString::fromLatin1(startup::version_text()))
                           .arg(startup::build_number())
                           .arg(web_site(), author_mail()));
}

void CMainFrame::fill_card_list() {
    cards_->clear();
    for (const startup::card_entry& card : card_list_entries(app_.card_spec(), app_.device())) {
        cards_->addItem(QString::fromStdString(card.spec + " - " + card.name),
                        QString::fromStdString(card.spec));
        if (card.spec == app_.card_spec()) cards_->setCurrentIndex(cards_->count() - 1);
    }
}

// A card chosen in the list is stored and used from the next start: the running device
// stays as it is.
void CMainFrame::choose_card(int index) {
    const std::string spec = cards_->itemData(index).toString().toStdString();
    settings::write(app_.settings(), settings::card, spec);
    if (!app_.settings().sync()) {
        show_message(this, QString::fromStdString(app_.settings().status()));
        return;
    }
    show_message(this,
                 QStringLiteral("The card %1 is used from the next start.").arg(QString::fromStdString(spec)),
                 QMessageBox::Information);
}

}  // namespace kestrel::app
