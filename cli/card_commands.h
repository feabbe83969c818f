#pragma once

#include <span>

namespace kestrel::cli {

extern const char* const cards_usage;
int run_cards(std::span<char* const> args);

extern const char* const tune_usage;
int run_tune(std::span<char* const> args);

extern const char* const record_usage;
int run_record(std::span<char* const> args);

}  // namespace kestrel::cli
