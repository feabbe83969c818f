// kestrel-screenshots FOLDER: pictures of the main window and of each dialog for the README,
// the same on every machine: Qt's offscreen platform, the Fusion style and palette, one
// font, fixed sizes, the demo card and settings that live in memory only.

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QStyle>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>

#include "app/dialogs/lnb_config_dlg.h"
#include "app/dialogs/lnb_disq_dlg.h"
#include "app/dialogs/settings_dlg.h"
#include "app/dialogs/si_table_dlg.h"
#include "app/dialogs/tuning_dlg.h"
#include "app/kestrel_app.h"
#include "app/main_frame.h"
#include "settings/memory_store.h"
#include "startup/session.h"

namespace {

using namespace kestrel;

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
    return ok ? 0 : 1;
}
