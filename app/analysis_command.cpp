#include "app/analysis_command.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>

#include "analysis/thresholds.h"
#include "app/analysis_wnd.h"
#include "app/dialogs/capture_analysis_dlg.h"
#include "app/kestrel_app.h"
#include "app/main_frame.h"
#include "app/recent_captures.h"

namespace kestrel::app {

namespace {

analysis::analysis_options stored_options(CKestrel2App& app) {
    analysis::analysis_options options;
    options.limits = analysis::read_thresholds(app.settings());
    return options;
}

CAnalysisWnd* add_window(CKestrel2App& app, const QString& title) {
    auto* window = new CAnalysisWnd(title);
    app.main_frame().mdi_area().addSubWindow(window);
    window->showMaximized();
    return window;
}

}  // namespace

CAnalysisWnd* open_stream_analysis(CKestrel2App& app) {
    dvb_device* device = app.device();
    if (device == nullptr) return nullptr;
    CAnalysisWnd* window =
        add_window(app, QStringLiteral("Stream analysis - %1").arg(QString::fromStdString(app.card_spec())));
    window->follow(std::make_unique<streaming::card_analysis>(*device, stored_options(app)));
    app.analysis_started(window);
    return window;
}

void open_capture_analysis(CKestrel2App& app) {
    const QString file = QFileDialog::getOpenFileName(
        &app.main_frame(), QStringLiteral("Analyse capture"),
        QString::fromStdString(last_capture_folder(app.settings())),
        QStringLiteral("Transport stream captures (*.ts *.m2ts *.trp);;All files (*)"));
    if (!file.isEmpty()) analyse_capture_file(app, file.toStdString());
}

CAnalysisWnd* analyse_capture_file(CKestrel2App& app, const std::string& path) {
    CCaptureAnalysisDlg dialog(path, stored_options(app), &app.main_frame());
    if (dialog.exec() != 0) return nullptr;
    CAnalysisWnd* window = add_window(
        app, QStringLiteral("Analysis - %1").arg(QFileInfo(QString::fromStdString(path)).fileName()));
    window->show_report(dialog.result().report, std::nullopt);
    return window;
}

}  // namespace kestrel::app
