#pragma once

// DVB text as UTF-8 (ETSI EN 300 468 Annex A): the one decoder everything shown or written
// goes through (views, kestrel-cli, JSON, the database). The table library keeps text as
// bytes with the character table selector it found (DvbString); this turns both into
// UTF-8. Texts without a selector are read with the decoder's default table: ISO/IEC 6937
// as the standard says, or another table chosen for the network (many operators send
// ISO/IEC 8859 text without a selector) or by the user.
//
// Bytes a table cannot map, and malformed sequences, become U+FFFD; the rest of the text
// is still decoded. A reserved or unknown table keeps the ASCII bytes (common to every
// table) and replaces the others.
//
// A decoder is not shared between threads: it caches its converters.

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "lib13818/core/dvb_string.h"

namespace lib13818 {

class dvb_text_decoder {
  public:
    // `default_charset`: the table for texts without a selector; "" is ISO/IEC 6937, else
    // an iconv name ("ISO-8859-15", "UTF-8", ...). Throws lib13818::error for a name
    // iconv does not know.
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
    std::string decode(std::string_view selector, std::string_view text);
    std::string default_charset_;
    std::unique_ptr<converters> converters_;
};

// The default table for a network, from its texts that carry no selector: "" (ISO/IEC
// 6937) unless they read as ISO/IEC 8859, then the iconv name of that table.
std::string guess_default_charset(const std::vector<std::string_view>& selectorless_texts);

// The dumps write their texts through the decoder attached to the stream, or through one
// with the standard default table when none is.
std::ostream& operator<<(std::ostream& out, const DvbString& text);
// A text whose selector is still its first bytes.
struct prefixed_dvb_text {
    std::string_view raw;
};
std::ostream& operator<<(std::ostream& out, prefixed_dvb_text text);

// Attaches `decoder` to `out` for the dump operators until the scope ends.
class text_decoder_scope {
  public:
    text_decoder_scope(std::ostream& out, dvb_text_decoder& decoder);
    ~text_decoder_scope();
    text_decoder_scope(const text_decoder_scope&) = delete;
    text_decoder_scope& operator=(const text_decoder_scope&) = delete;

  private:
    std::ostream& out_;
    void* previous_;
};

// Single-byte ISO 8859-1 text (the registry names of the name tables) as UTF-8.
std::string latin1_to_utf8(std::string_view latin1);

}  // namespace lib13818
