#include "device/capture/capture_card.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "device/capture/lock_rule.h"
#include "log/event_log.h"

namespace kestrel {

namespace {

// A single capture: one transponder that is always received.
capture_manifest single_capture(const capture_options& options) {
    capture_manifest manifest;
    manifest.type = options.frontend != 0 ? options.frontend : frontend_dvb_s;
    manifest.always_locked = true;
    capture_transponder t;
    t.path = options.path;
    manifest.transponders.push_back(t);
    return manifest;
}

}  // namespace

std::unique_ptr<capture_card> capture_card::create(const capture_options& options, std::string& error) {
    capture_manifest manifest;
    if (is_single_capture(options.path)) {
        manifest = single_capture(options);
    } else if (options.frontend != 0) {
        error = options.path + ": ?dvb-c and ?dvb-t are for a single capture; a manifest names its frontend";
        return nullptr;
    } else if (error = load_manifest(options.path, manifest); !error.empty()) {
        return nullptr;
    }
    std::vector<std::unique_ptr<capture_playback>> captures;
    for (const capture_transponder& t : manifest.transponders) {
        auto capture = std::make_unique<capture_playback>();
        if (std::string why = capture->open(t.path); !why.empty()) {
            error = t.line > 0 ? options.path + ":" + std::to_string(t.line) + ": " + why : why;
            return nullptr;
        }
        captures.push_back(std::move(capture));
    }
    const std::string name = "Capture " + std::filesystem::path(options.path).filename().string();
    return std::make_unique<capture_card>(name, std::move(manifest), std::move(captures), options.realtime);
}

capture_card::capture_card(const std::string& name, capture_manifest manifest,
                           std::vector<std::unique_ptr<capture_playback>> captures, bool realtime)
    : name_(name),
      manifest_(std::move(manifest)),
      captures_(std::move(captures)),
      realtime_(realtime),
      reference_pids_(captures_.size(), no_reference_pid) {
    locked_ = receiving_transponder(manifest_, channel_, switch_.position());
}

capture_card::~capture_card() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

std::int32_t capture_card::describe(std::uint16_t index, card_description& out) {
    if (index != 0) return ENODEV;
    out.name = name_;
    out.location = manifest_.always_locked ? captures_.front()->path() : name_;
    out.detail = std::string(frontend_type_name(manifest_.type)) + ", " +
                 (manifest_.always_locked ? std::string("always locked")
                                          : std::to_string(manifest_.transponders.size()) + " transponders");
    return 0;
}

bool capture_card::open() {
    std::lock_guard lock(mutex_);
    if (!thread_.joinable()) thread_ = std::thread([this] { deliver_loop(); });
    return true;
}

std::int32_t capture_card::read_state(signal_state& out) {
    std::lock_guard lock(mutex_);
    const bool locked = locked_ >= 0;
    out.locked = locked;
    out.level_percent = locked ? 80 : 0;
    out.bit_error_rate = 0.0;
    return 0;
}

std::int32_t capture_card::read_statistics(signal_statistics& out) {
    out = {};
    return 0;
}

bool capture_card::offers(lib13818::DeliverySystem system) {
    return system == lib13818::DeliverySystem::automatic || frontend_type_of(system) == manifest_.type;
}

TUNERPARM capture_card::first_transponder_tuning() const {
    constexpr std::string_view polarisations = "HVLR";
    constexpr std::uint32_t bandwidth_automatic = 3;
    const capture_transponder& t = manifest_.transponders.front();
    TUNERPARM tuning;
    tuning.type = static_cast<std::uint32_t>(manifest_.type);
    tuning.delivery.system = t.system;
    tuning.delivery.stream_id = t.stream_id;
    if (manifest_.type == frontend_dvb_s) {
        tuning.frequency = t.frequency_khz * 1e-6;
        tuning.word_a = static_cast<std::int32_t>(polarisations.find(t.polarisation));
        tuning.word_c = t.symbol_rate;
        tuning.word_d = static_cast<std::uint32_t>(std::max(t.position, 0));
        return tuning;
    }
    tuning.frequency = t.frequency_khz * 1e-3;
    if (manifest_.type == frontend_dvb_c) {
        tuning.word_b = static_cast<std::int32_t>(t.symbol_rate);
        tuning.word_d = bandwidth_automatic;
    } else {
        tuning.word_c = bandwidth_automatic;
    }
    return tuning;
}

int capture_card::locked_transponder() {
    std::lock_guard lock(mutex_);
    return locked_;
}

std::int32_t capture_card::send_diseqc(std::span<const std::uint8_t> message, std::uint8_t burst) {
    std::lock_guard lock(mutex_);
    queued_.push_back({std::vector<std::uint8_t>(message.begin(), message.end()), burst});
    return 0;
}

std::int32_t capture_card::set_channel(const ChannelRecord& record) {
    {
        std::lock_guard lock(mutex_);
        channel_ = record;
        // The switch hears the queued messages only when the LNB is powered.
        if (manifest_.type == frontend_dvb_s && record.word[channel_word::voltage] != 0)
            for (const queued_diseqc& q : queued_)
                switch_.receive(q.message, q.burst);
        queued_.clear();
        locked_ = receiving_transponder(manifest_, channel_, switch_.position());
        event_log(3, "capture card: %u kHz, %u V, position %d: %s", record.word[channel_word::frequency],
                  record.word[channel_word::voltage], switch_.position(),
                  locked_ >= 0 ? captures_[static_cast<std::size_t>(locked_)]->path().c_str() : "no signal");
        ++changes_;
    }
    wake_.notify_all();
    return 0;
}

// The channel as tuned, with the system and the stream of the transponder received.
std::int32_t capture_card::get_channel(ChannelRecord& record) {
    std::lock_guard lock(mutex_);
    record = channel_;
    if (record.delivery.system == lib13818::DeliverySystem::automatic)
        record.delivery.system = base_system(manifest_.type);
    if (locked_ >= 0) {
        const capture_transponder& t = manifest_.transponders[static_cast<std::size_t>(locked_)];
        if (t.system != lib13818::DeliverySystem::automatic) record.delivery.system = t.system;
        record.delivery.stream_id = t.stream_id;
    }
    return 0;
}

std::int32_t capture_card::bandwidth_range(std::uint32_t& first, std::uint32_t& second) {
    first = 1;   // 7 MHz
    second = 2;  // 8 MHz
    return 0;
}

std::int32_t capture_card::start_filter(const card_filter& filter, filter_sink& sink, card_filter_id& id) {
    const bool whole_stream = filter.type == card_filter_type::packets && filter.pid == whole_stream_pid;
    if ((filter.pid > 0x1FFF && !whole_stream) || filter.length > max_filter_bytes) return EINVAL;
    // Registered and held at once: the delivery thread never sees it unheld before its pass.
    std::lock_guard lock(mutex_);
    id = registry_.add(filter, sink);
    held_.push_back(id);
    ++starts_;
    return 0;
}

void capture_card::stop_filter(card_filter_id id) {
    if (!registry_.remove(id)) return;
    {
        std::lock_guard lock(mutex_);
        if (const auto held = std::find(held_.begin(), held_.end(), id); held != held_.end()) {
            held_.erase(held);
            return;  // never delivered to: nothing changes for the delivery thread
        }
        --released_;
        ++changes_;
    }
    wake_.notify_all();
}

void capture_card::begin_delivery() {
    {
        std::lock_guard lock(mutex_);
        if (held_.empty()) return;
        released_ += held_.size();
        held_.clear();
        released_starts_ = starts_;
        ++changes_;
    }
    wake_.notify_all();
}

std::uint64_t capture_card::now_ticks() const {
    return played_ticks_.load(std::memory_order_relaxed) + slept_ticks_.load(std::memory_order_relaxed);
}

std::uint64_t capture_card::now_ms() {
    return now_ticks() / stream_clock::ticks_per_ms;
}

void capture_card::sleep_ms(std::uint32_t ms) {
    slept_ticks_ += std::uint64_t{ms} * stream_clock::ticks_per_ms;
    fire_alarm_if_due();
}

void capture_card::set_alarm(std::uint64_t deadline_ms) {
    {
        std::lock_guard lock(mutex_);
        alarm_ms_ = deadline_ms;
        alarm_hold_ = false;
    }
    // The delivery thread rings an alarm that is due already, even while it idles.
    wake_.notify_all();
}

bool capture_card::alarm_due() const {
    const std::uint64_t deadline = alarm_ms_.load();
    return deadline != 0 && now_ticks() >= deadline * stream_clock::ticks_per_ms;
}

bool capture_card::fire_alarm_if_due() {
    std::uint64_t deadline = alarm_ms_.load();
    if (deadline == 0) return false;
    const std::uint64_t now = now_ms();
    if (now < deadline || !alarm_ms_.compare_exchange_strong(deadline, 0)) return false;
    {
        std::lock_guard lock(mutex_);
        alarm_hold_ = true;
    }
    if (card_listener* listener = listener_.load()) listener->clock_reached(now);
    return true;
}

}  // namespace kestrel
