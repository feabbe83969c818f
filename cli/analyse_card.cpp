// `kestrel-cli analyse --card SPEC`: the whole stream the card receives, analysed as it comes.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>

#include "analysis/report_writers.h"
#include "cli/analyse_command.h"
#include "cli/interrupt.h"
#include "cli/program_settings.h"
#include "startup/session.h"
#include "streaming/card_analysis.h"

namespace kestrel::cli {

void write_faults_text(std::ostream& out, const delivery_faults& faults) {
    out << "\nDelivery faults of the card (apart from the stream's errors): " << faults.overflows
        << " demux buffer overruns, " << faults.lock_losses << " lock losses\n";
}

void write_json_with_faults(std::ostream& out, const analysis::analysis_report& report,
                            const delivery_faults& faults) {
    std::ostringstream plain;
    analysis::write_json(plain, report);
    nlohmann::json doc = nlohmann::json::parse(plain.str());
    doc["delivery_faults"] = {{"overflows", faults.overflows}, {"lock_losses", faults.lock_losses}};
    out << doc.dump(2) << '\n';
}

int analyse_card(const analyse_request& request) {
    startup::session session = open_session(request.card);
    dvb_device_techotrend* device = session.device();
    if (device == nullptr || !session.card_error().empty()) return analyse_failure(session.card_error(), 2);
    if (!device->is_locked())
        return analyse_failure(
            "card '" + session.card_spec() + "' is not locked: no signal on the stored tuning", 2);

    // The card's clock bounds the analysis, not the stream's.
    analysis::analysis_options options = request.options;
    const std::optional<std::uint32_t> seconds = std::exchange(options.seconds, std::nullopt);
    std::mutex mutex;
    std::condition_variable ended;
    streaming::card_analysis live(*device, options, [&] {
        { std::lock_guard lock(mutex); }
        ended.notify_all();
    });
    interrupt_watch watch([&] { live.cancel(); });
    // The routine runs on the worker, in its wait, once the card's clock has moved on.
    if (seconds) device->arm_timeout(*seconds * 1000, [&] { live.cancel(); });
    live.start();
    {
        std::unique_lock lock(mutex);
        while (!ended.wait_for(lock, std::chrono::milliseconds(500), [&] { return live.finished(); }))
            if (!request.quiet)
                std::fprintf(stderr, "analyse: %llu MiB received\n",
                             static_cast<unsigned long long>(live.bytes_read() >> 20));
    }
    live.join();
    device->cancel_timeout();
    keep_session(session, "analyse");
    const std::string& error = live.outcomes().at(0).error;
    if (!error.empty()) return analyse_failure(error, 2);
    return report_analysis(request, {live.snapshot(), "", watch.interrupted(), live.faults()});
}

}  // namespace kestrel::cli
