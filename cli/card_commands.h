#pragma once

#include <cstdio>
#include <span>
#include <vector>

#include "startup/card_choice.h"

namespace kestrel::cli {

extern const char* const cards_usage;
int run_cards(std::span<char* const> args);
// The listing of `kestrel-cli cards`, with the note on the group video when an adapter may
// not be opened.
void print_cards(std::FILE* out, const std::vector<startup::card_entry>& adapters,
                 const std::vector<startup::card_entry>& captures);

extern const char* const tune_usage;
int run_tune(std::span<char* const> args);

extern const char* const record_usage;
int run_record(std::span<char* const> args);

}  // namespace kestrel::cli
