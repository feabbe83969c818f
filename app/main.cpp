#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/command_line.h"
#include "app/kestrel_app.h"
#include "app/main_frame.h"
#include "app/message_box.h"
#include "settings/qsettings_store.h"
#include "startup/help_sections.h"
#include "startup/session.h"

namespace {

using namespace kestrel;

std::unique_ptr<settings_store> open_settings(const std::string& file) {
    if (file.empty()) return std::make_unique<qsettings_store>();
    return std::make_unique<qsettings_store>(file);
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// Start-up in its order (settings store, name tables, logs, satellite list, card, LNB
// restore, main frame, first transponder window), the run, then the shutdown: the LNB
// settings and the tuning kept, then the exit.
int run(const app::command_line& options) {
    const std::unique_ptr<settings_store> settings = open_settings(options.settings_file);
    if (const std::string status = settings->status(); !status.empty())
        app::show_message(nullptr, text(status));
    startup::session session(*settings, {options.card, std::nullopt});
    if (!session.card_error().empty())
        app::show_message(nullptr,
                          text(session.card_error()) + QStringLiteral("\n\nKestrel runs without a card."));
    // A card that failed to initialise is no card: nothing needs to be asked of it.
    dvb_device* device = session.init_result() == result::ok ? session.device() : nullptr;

    int code = 0;
    {
        const app::card_opener open_card = [&session](const std::string& spec) -> app::card_swap {
            if (std::string error = session.replace_card(spec); !error.empty()) return {nullptr, "", error};
            return {session.device(), session.card_spec(), ""};
        };
        app::CKestrel2App application(
            {*settings, device, session.satellites(), device ? session.card_spec() : "", open_card});
        application.InitInstance(options.capture);
        // For the start-up test: the whole start-up, then the shutdown.
        if (std::getenv("KESTREL_QUIT_AFTER_STARTUP") != nullptr)
            QTimer::singleShot(0, &application.main_frame(), &QWidget::close);
        code = QApplication::exec();
    }
    if (!session.keep()) {
        std::fprintf(stderr, "kestrel: the settings were not saved: %s\n", settings->status().c_str());
        return code == 0 ? 1 : code;
    }
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    const app::command_line options = app::parse_command_line(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "%s\n", options.error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(app::usage_text, stdout);
        std::fputs(startup::shared_help_sections("kestrel").c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("%s\n", startup::version_line("kestrel").c_str());
        return 0;
    }
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrel"));
    QApplication::setOrganizationName(QStringLiteral("Tidewell"));
    // The installed desktop entry and icon: the window shows the icon the menu shows.
    QApplication::setDesktopFileName(QStringLiteral("kestrel"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("kestrel")));
    return run(options);
}
