#pragma once

#include <linux/dvb/frontend.h>
#include <sys/ioctl.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "device/card.h"
#include "device/filter_registry.h"
#include "device/linux/delivery_properties.h"
#include "device/linux/linux_kernel.h"

namespace kestrel {

// A DVB adapter of the Linux DVB API v5: /dev/dvb/adapterN/frontend0 for tuning and
// state, one descriptor of demux0 per filter, and one delivery thread polling them all.
// A multi-standard frontend is used as one frontend type, chosen when the card is made; each
// tuning asks for the system its record names (DVB-S or DVB-S2 on a DVB-S card, DVB-T or
// DVB-T2 on a DVB-T card), or for the card's own system when it names none. The property
// lists are those of delivery_properties.h.
class linux_card final : public card {
  public:
    // The adapter numbers that exist, in ascending order.
    static std::vector<int> find_adapters(linux_kernel& kernel);

    // What an adapter's frontend is called and which delivery systems it offers.
    struct frontend_description {
        std::string name;
        std::vector<std::uint32_t> systems;  // SYS_DVBT, ... in the driver's order
    };
    // 0, or the errno of opening or asking the frontend.
    static std::int32_t describe_frontend(linux_kernel& kernel, int adapter, frontend_description& out);

    // `system` is the system a tuning that names none asks for, and its frontend type the
    // card's; automatic takes the frontend's first delivery system. A first-generation system
    // stands for its type: a frontend with DVB-S2 alone serves "DVB-S" as DVB-S2.
    linux_card(linux_kernel& kernel, int adapter,
               lib13818::DeliverySystem system = lib13818::DeliverySystem::automatic);
    ~linux_card() override;
    linux_card(const linux_card&) = delete;
    linux_card& operator=(const linux_card&) = delete;

    std::uint16_t count() override;
    std::int32_t describe(std::uint16_t index, card_description& out) override;
    bool open() override;
    std::int32_t boot(const std::string& boot_directory) override;
    std::int32_t read_version() override;
    std::int32_t init_frontend() override;
    std::int32_t enable_data(bool on) override;
    std::int32_t frontend_type() override;
    std::uint32_t capabilities() override;
    std::int32_t read_state(signal_state& out) override;
    std::int32_t read_statistics(signal_statistics& out) override;
    bool offers(lib13818::DeliverySystem system) override;
    std::int32_t send_diseqc(std::span<const std::uint8_t> message, std::uint8_t burst) override;
    std::int32_t set_channel(const ChannelRecord& record) override;
    std::int32_t get_channel(ChannelRecord& record) override;
    std::int32_t bandwidth_range(std::uint32_t& first, std::uint32_t& second) override;
    std::int32_t start_filter(const card_filter& filter, filter_sink& sink, card_filter_id& id) override;
    void stop_filter(card_filter_id id) override;
    void begin_delivery() override {}  // a live card delivers from the start
    delivery_faults faults() override;
    std::uint64_t now_ms() override;
    void sleep_ms(std::uint32_t ms) override;
    void set_alarm(std::uint64_t deadline_ms) override;
    void set_listener(card_listener* listener) override;

  private:
    struct diseqc_step {
        std::vector<std::uint8_t> message;
        std::uint8_t burst;
    };
    struct open_filter {
        file_descriptor fd;
        card_filter_type type;
        std::uint16_t pid;
    };

    void ensure_delivery_thread();  // under mutex_
    // Logs a failed call with its name and errno; gives the errno.
    std::int32_t failed(const call_result& r);
    std::int32_t send_diseqc_sequence(const ChannelRecord& record, const std::vector<diseqc_step>& steps);
    std::int32_t set_properties(std::vector<dtv_property> properties);
    // The kernel's system for a tuning of `system`, or SYS_UNDEFINED (logged) when the
    // frontend does not offer it as its type.
    std::uint32_t system_to_tune(lib13818::DeliverySystem system);
    std::int32_t call(int fd, unsigned long request, void* argument, const char* name);
    void deliver_loop();
    struct polled {
        card_filter_id id;
        card_filter_type type;
        std::uint16_t pid;
    };
    void deliver_ready(const std::vector<pollfd>& fds, const std::vector<polled>& filters);
    void deliver_read(const polled& filter, const std::uint8_t* data, std::size_t size);
    void ring_alarm_if_due();
    // While filters are set: notes (and logs) the frontend losing and regaining lock.
    void watch_lock();

    linux_kernel& kernel_;
    system_calls calls_;
    int adapter_;
    std::vector<int> adapters_;
    file_descriptor frontend_;
    dvb_frontend_info info_{};
    lib13818::DeliverySystem wanted_system_;
    std::int32_t type_ = frontend_none;   // set by init_frontend, as what follows
    std::vector<std::uint32_t> systems_;  // offered, in the driver's order
    frontend_facts facts_;                // its system: the one tunings naming none ask for
    std::mutex tune_mutex_;               // the DiSEqC queue and the last record
    std::vector<diseqc_step> queued_;
    ChannelRecord last_record_{};

    filter_registry registry_;
    std::mutex mutex_;  // filters' descriptors, descriptors to close, alarm, thread control
    std::condition_variable changed_;
    std::map<card_filter_id, open_filter> filters_;
    std::vector<file_descriptor> closing_;
    std::uint64_t alarm_ = 0;
    bool stopping_ = false;
    std::atomic<card_listener*> listener_{nullptr};
    std::atomic<std::uint64_t> overflows_{0};
    std::atomic<std::uint64_t> lock_losses_{0};

    // The delivery thread's own: its read buffer, the partial packets of each packet
    // filter, and the lock as last seen while filters were set.
    std::vector<std::uint8_t> read_buffer_;
    std::map<card_filter_id, std::vector<std::uint8_t>> partial_packets_;
    std::uint64_t next_lock_check_ = 0;
    std::optional<bool> was_locked_;
    std::thread delivery_;
};

}  // namespace kestrel
