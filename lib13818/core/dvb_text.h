#pragma once

// DVB text as UTF-8 (ETSI EN 300 468 Annex A): the one decoder everything shown or written
// goes through (views, kestrel-cli, JSON, the database). The table library keeps text as
// bytes with the character table selector it found (DvbString); this turns both into
// UTF-8. Texts without a selector are read with the decoder's default table: ISO/IEC 6937
// as the standard says, or another table chosen for the network (many operators send
// ISO/IEC 8859 text without a selector) or by the user.
//
// A decoder is not shared between threads: it caches its converters.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lib13818/core/dvb_string.h"

namespace lib13818 {

class dvb_text_decoder {
  public:
    // `default_charset`: the iconv name of the table for texts without a selector;
    // "" is ISO/IEC 6937.
    explicit dvb_text_decoder(std::string default_charset = "");
    ~dvb_text_decoder();
    dvb_text_decoder(dvb_text_decoder&&) noexcept;
    dvb_text_decoder& operator=(dvb_text_decoder&&) noexcept;

    std::string to_utf8(const DvbString& text);
    // Bytes that still carry their selector at the front (the service descriptor's names).
    std::string to_utf8(std::string_view raw);

    const std::string& default_charset() const { return default_charset_; }

  private:
    struct converters;
    std::string default_charset_;
    std::unique_ptr<converters> converters_;
};

// The default table for a network, from its texts that carry no selector: "" (ISO/IEC
// 6937) unless they read as ISO/IEC 8859, then the iconv name of that table.
std::string guess_default_charset(const std::vector<std::string_view>& selectorless_texts);

}  // namespace lib13818
