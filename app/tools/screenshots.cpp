// kestrel-screenshots FOLDER: pictures of the main window and of each dialog for the README,
// the same on every machine: Qt's offscreen platform, the Fusion style and palette, one
// font, fixed sizes, the demo card and settings that live in memory only.

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLineEdit>
#include <QMdiArea>
#include <QStyle>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "app/analysis_wnd.h"
#include "app/dialogs/lnb_config_dlg.h"
#include "app/dialogs/lnb_disq_dlg.h"
#include "app/dialogs/recording_progress.h"
#include "app/dialogs/settings_dlg.h"
#include "app/dialogs/si_reader_dlg.h"
#include "app/dialogs/si_table_dlg.h"
#include "app/dialogs/tuning_dlg.h"
#include "app/guide_grid.h"
#include "app/guide_wnd.h"
#include "app/kestrel_app.h"
#include "app/main_frame.h"
#include "app/search_bar.h"
#include "app/transponder_wnd.h"
#include "app/value_pane.h"
#include "epg/collection.h"
#include "epg/guide_builder.h"
#include "scan/si_reader.h"
#include "settings/memory_store.h"
#include "startup/session.h"
#include "streaming/card_analysis.h"

namespace {

using namespace kestrel;

// The scan behind the main window's picture runs without its dialog: nothing to show.
class no_progress final : public scan_progress {
    void show_stream(const stream_texts&) override {}
    void add_row(int, std::string_view, int) override {}
    void add_bytes(int, std::int32_t) override {}
    void clear_rows() override {}
    void message(std::string_view) override {}
    void done(int) override {}
};

// The demo's first satellite scanned through its NIT and shown, its first transponder open
// with its first table selected, so the value pane has rows.
void show_demo_scan(app::CKestrel2App& application, dvb_device& device, settings_store& settings,
                    const CSatelliteList& satellites) {
    no_progress progress;
    si_reader reader(device, settings, satellites, table_selection(settings), progress);
    reader.run(application.all_networks(), ScanContext::current_nit);
    ScanContext context{ScanContext::current_nit};
    app::CTransponderWnd* window = application.GetTransonderWnd();
    window->SetTable(context, application.all_networks());
    QTreeView& tree = window->tree_pane();
    const QModelIndex all = tree.model()->index(0, 0);
    const QModelIndex transponder = tree.model()->index(0, 0, tree.model()->index(0, 0, all));
    tree.expand(transponder);
    tree.setCurrentIndex(tree.model()->index(0, 0, transponder));
}

// The dialog's texts at the end of the demo's first EIT collection, as a scan of the demo's
// first transponder shows them.
class eit_snapshot final : public scan_progress {
  public:
    void show_stream(const stream_texts& texts) override { stream_ = texts; }
    // add_bytes runs on the card's delivery thread: the rows are locked, briefly.
    void add_row(int row, std::string_view name, int pid) override {
        const std::lock_guard guard(lock_);
        rows_[static_cast<std::size_t>(row)] = {std::string(name), pid, 0};
    }
    void add_bytes(int row, std::int32_t length) override {
        const std::lock_guard guard(lock_);
        rows_[static_cast<std::size_t>(row)].bytes += length;
    }
    void clear_rows() override {
        const std::lock_guard guard(lock_);
        if (!taken_ && rows_[0].name == "EIT") {
            taken_ = true;
            shown_ = rows_;
            shown_stream_ = stream_;
        }
        rows_ = {};
    }
    void message(std::string_view) override {}
    void done(int) override {}

    // Fills the dialog's edits as the scan did.
    void fill(app::CSIReaderDlg& dialog) const {
        dialog.show_stream(shown_stream_);
        for (std::size_t row = 0; row < shown_.size(); ++row)
            if (!shown_[row].name.empty())
                dialog.show_row(static_cast<int>(row), shown_[row].name, shown_[row].pid, shown_[row].bytes);
    }

  private:
    struct row {
        std::string name;
        int pid = 0;
        std::int64_t bytes = 0;
    };
    stream_texts stream_, shown_stream_;
    std::array<row, row_count> rows_{}, shown_{};
    bool taken_ = false;
    std::mutex lock_;
};

// "SI reading" during the EIT collection of the demo's first transponder. The dialog is
// drawn, not shown: shown, it would start a scan of its own.
bool save_scan_in_progress(dvb_device& device, settings_store& settings, const CSatelliteList& satellites,
                           QWidget& parent, const QDir& folder) {
    eit_snapshot snapshot;
    AllNetworks networks;
    si_reader(device, settings, satellites, table_selection(settings), snapshot)
        .run(networks, ScanContext::current_transponder);
    ScanContext context;
    app::CSIReaderDlg dialog(networks, context, {device, settings, satellites}, &parent);
    snapshot.fill(dialog);
    dialog.adjustSize();
    const QString path = folder.filePath(QStringLiteral("scan_in_progress.png"));
    if (!dialog.grab().save(path, "PNG")) {
        std::fprintf(stderr, "kestrel-screenshots: cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    std::printf("%s\n", path.toLocal8Bit().constData());
    return true;
}

bool save(QWidget& widget, const QDir& folder, const char* name) {
    widget.show();
    QApplication::processEvents();
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (!widget.grab().save(path, "PNG")) {
        std::fprintf(stderr, "kestrel-screenshots: cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    std::printf("%s\n", path.toLocal8Bit().constData());
    widget.hide();
    return true;
}

// A search in progress over the demo's scan: a service name typed, its first match (the
// service descriptor that names it) selected with its rows beside it.
bool save_search(app::CMainFrame& frame, app::CTransponderWnd& window, const QDir& folder) {
    window.open_search();
    window.search().set_query(QStringLiteral("demo 3"));
    window.find_next();
    return save(frame, folder, "search.png");
}

// The bytes pane under the first satellite delivery system descriptor's rows, its
// POLARIZATION row selected: the descriptor's bytes highlighted, the field's two bits below.
bool save_bytes_pane(app::CMainFrame& frame, app::CTransponderWnd& window, const QDir& folder) {
    window.search().set_query(QStringLiteral("SATELLITEDELIVERYSYSTEM_DESCRIPTOR"));
    window.find_next();
    window.close_search();
    constexpr int polarization_row = 5;
    window.value_pane().setCurrentItem(window.value_pane().topLevelItem(polarization_row));
    frame.resize(1000, 640);
    return save(frame, folder, "bytes_pane.png");
}

// A recording of the demo's whole stream run to the end of one pass, its progress dialog as
// it last showed the counters (shown again, it does not record again).
bool save_recording(dvb_device& device, QWidget& parent, const QDir& folder) {
    QTemporaryDir scratch;
    streaming::single_pid_recording recording(
        device, scratch.filePath(QStringLiteral("stream.ts")).toStdString(), whole_stream_pid);
    app::CPIDStreamingRawDlg progress(recording, &parent);
    progress.exec();
    progress.resize(progress.sizeHint());
    return save(progress, folder, "recording.png");
}

// The demo's guide collected from the card and shown in its window over the main window,
// "news" searched and the first event of the first service selected.
bool save_programme_guide(app::CKestrel2App& application, dvb_device& device, settings_store& settings,
                          const QDir& folder) {
    epg::section_store store;
    epg::card_collection(device, store).run();
    auto* window =
        new app::CGuideWnd(epg::build_guide(store, {std::nullopt, epg::read_local_time_settings(settings)}),
                           application.files());
    app::CMainFrame& frame = application.main_frame();
    frame.mdi_area().addSubWindow(window);
    window->showMaximized();
    window->search().setText(QStringLiteral("news"));
    window->grid().select(0);
    frame.resize(1100, 480);
    frame.refresh();
    const bool ok = save(frame, folder, "programme_guide.png");
    window->close();
    return ok;
}

// One pass of the demo's stream analysed and shown in its window over the main window, on
// the page of the stacked bit rate plot.
bool save_stream_analysis(app::CKestrel2App& application, dvb_device& device, const QDir& folder) {
    analysis::analysis_options options;
    options.limits.bin_interval_ms = 100;  // the demo's pass is short
    streaming::card_analysis live(device, options);
    live.start();
    live.join();
    auto* window = new app::CAnalysisWnd(QStringLiteral("Stream analysis - demo"));
    window->show_report(live.snapshot(), live.faults());
    app::CMainFrame& frame = application.main_frame();
    frame.mdi_area().addSubWindow(window);
    window->showMaximized();
    window->findChild<QTabWidget*>()->setCurrentIndex(2);
    frame.resize(1100, 600);
    frame.refresh();
    const bool ok = save(frame, folder, "stream_analysis.png");
    window->close();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: kestrel-screenshots FOLDER\n");
        return argc == 2 && std::string_view(argv[1]) == "--help" ? 0 : 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qt(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "kestrel-screenshots: cannot make %s\n", argv[1]);
        return 1;
    }

    memory_store settings;
    startup::session session(settings, {"demo", 0});
    dvb_device* device = session.device();
    if (device == nullptr) {
        std::fprintf(stderr, "kestrel-screenshots: %s\n", session.card_error().c_str());
        return 1;
    }
    app::CKestrel2App application({settings, device, session.satellites(), session.card_spec()});
    app::CMainFrame& frame = application.main_frame();
    frame.resize(800, 500);
    application.InitInstance();
    show_demo_scan(application, *device, settings, session.satellites());
    frame.refresh();

    app::CSettingsDlg general(settings, &frame);
    app::CLnbConfigDlg satellites(settings, session.satellites(), &frame);
    app::CLnbDisqDlg lnb(settings, *device, &frame);
    app::CSITableDlg tables(settings, &frame);
    app::CTuningDlg tuning(app::read_tuning(*device), *device, settings, &frame);
    bool ok = save(frame, folder, "main_window.png");
    for (const auto& [dialog, name] : {std::pair<QWidget*, const char*>{&general, "settings.png"},
                                       {&satellites, "lnb_config.png"},
                                       {&lnb, "lnb_disq_configuration.png"},
                                       {&tables, "si_table_configuration.png"},
                                       {&tuning, "tuning.png"}}) {
        dialog->resize(dialog->sizeHint());
        ok = save(*dialog, folder, name) && ok;
    }
    ok = save_scan_in_progress(*device, settings, session.satellites(), frame, folder) && ok;
    ok = save_recording(*device, frame, folder) && ok;
    ok = save_programme_guide(application, *device, settings, folder) && ok;
    ok = save_stream_analysis(application, *device, folder) && ok;
    // Last: the frame shown again lets the dialogs' timers poll the card.
    ok = save_search(frame, *application.GetTransonderWnd(), folder) && ok;
    ok = save_bytes_pane(frame, *application.GetTransonderWnd(), folder) && ok;
    return ok ? 0 : 1;
}
