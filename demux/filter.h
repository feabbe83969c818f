#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

#include "demux/nokia_dvb2000_demux2.h"
#include "demux/section_slots.h"

namespace kestrel {

// The filter bytes and mask a handler sets its device filter with.
struct filter_bytes {
    // Copies length bytes of each; none when a pointer is missing or length is not positive.
    static filter_bytes copy(const std::uint8_t* data, const std::uint8_t* mask, int length);

    std::vector<std::uint8_t> data;
    std::vector<std::uint8_t> mask;
};

// A handler: one device section filter, the sections it stores, and what it parses them
// into. In single-section mode (no typed target) it keeps the first section that arrives;
// in multi-section mode it keeps distinct section numbers until the table is complete.
//
// Threads: on_psi_section runs on the card's delivery thread, init and parse on the run()
// thread before the device filter starts and after it was stopped.
// Writes the warnings a parsed section carries (faults its decoder read past) to the trace
// log, with the PID the section came on.
void trace_section_warnings(int pid, const lib13818::Section& table);

class nokia_dvb2000_demux2::filter {
  public:
    static constexpr int psi_section_size = 1024;  // PAT, CAT and PMT sections at most
    static constexpr int si_section_size = 4096;   // every other private section at most

    // Single-section mode: the first section of table_id goes to target. The slot holds
    // 1024 bytes for a PSI table and 4096 for an SI table.
    filter(int pid, int table_id, section_target target, FilterCallback callback, void* context);
    // Multi-section mode: up to section_count distinct sections parsed into target.
    filter(int pid, int table_id, typed_target target, int section_size, int section_count,
           FilterCallback callback, void* context);
    filter(const filter&) = delete;
    filter& operator=(const filter&) = delete;

    // One delivery of the device filter.
    virtual void on_psi_section(std::int32_t length, const std::uint8_t* data);
    virtual ~filter() = default;
    // Allocates the slots and starts the device filter.
    virtual void init(dvb_device& device);
    // Delivers what was collected.
    virtual void parse();

    // The device filter's callback; the context is the handler.
    static void dvbcallback(void* handler, std::int32_t length, const std::uint8_t* data);

    int pid() const { return pid_; }

  protected:
    // A collector: its device filter is set from the filter bytes.
    filter(int pid, filter_bytes bytes, int section_size, int section_count, FilterCallback callback,
           void* context);

    void call_back(std::int32_t length, const std::uint8_t* data) const;
    // The size of the section the delivery starts with, when the delivery holds all of it and
    // the section has at least min_size bytes; otherwise 0, and the delivery is to be dropped.
    static std::size_t whole_section(std::int32_t length, const std::uint8_t* data, std::size_t min_size);
    // Stops this handler's device filter, now or, when a section arrives before the device
    // has handed out the filter's handle, as soon as init has it.
    void stop();

    section_slots slots_;
    int m_secidx = 0;
    int m_secsize;
    int m_seccnt;
    bool m_gotdata = false;

  private:
    void take_single(std::int32_t length, const std::uint8_t* data);
    void take_multi(std::int32_t length, const std::uint8_t* data);

    int pid_;
    std::uint8_t table_id_ = 0;
    section_target target_;
    typed_target typed_;
    bool multi_section_ = false;
    std::set<int> sections_seen_;
    bool uses_filter_bytes_ = false;
    filter_bytes bytes_;
    FilterCallback callback_;
    void* context_;
    dvb_device* device_ = nullptr;
    std::atomic<filter_handle> handle_{nullptr};
    std::atomic<bool> stop_wanted_{false};
};

}  // namespace kestrel
