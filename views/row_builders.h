#pragma once

// One row builder per record kind: the rows of the record in the order of its field list.

#include <vector>

#include "lib13818/core/dvb_text.h"
#include "views/tree_node.h"
#include "views/value_rows.h"

namespace kestrel::views {

using text_decoder = lib13818::dvb_text_decoder;

// Program specific information.
std::vector<value_row> rows_of(const lib::Cat& cat, text_decoder&);
std::vector<value_row> rows_of(const lib::Pat& pat, text_decoder&);
std::vector<value_row> rows_of(const lib::Pmt& pmt, text_decoder&);
std::vector<value_row> rows_of(const lib::ElementaryStream& es, text_decoder&);

// Service information tables and their loop entries.
std::vector<value_row> rows_of(const lib::Nit& nit, text_decoder&);
std::vector<value_row> rows_of(const lib::NitTransportStream& ts, text_decoder&);
std::vector<value_row> rows_of(const lib::Sdt& sdt, text_decoder&);
std::vector<value_row> rows_of(const lib::SdtService& service, text_decoder&);
std::vector<value_row> rows_of(const lib::Bat& bat, text_decoder&);
std::vector<value_row> rows_of(const lib::Eit& eit, text_decoder&);
std::vector<value_row> rows_of(const lib::EitEvent& event, text_decoder&);
std::vector<value_row> rows_of(const lib::Rst& rst, text_decoder&);
std::vector<value_row> rows_of(const lib::RstEntry& entry, text_decoder&);
std::vector<value_row> rows_of(const lib::Tdt& tdt, text_decoder&);
std::vector<value_row> rows_of(const lib::Tot& tot, text_decoder&);

// Descriptors and their entries.
std::vector<value_row> rows_of(const lib::DescriptorCA& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorGeneric& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorVideoStream& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorISO639Language& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorISO639Language::Language& language, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorSatelliteDeliverySystem& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorService& d, text_decoder& text);
std::vector<value_row> rows_of(const lib::DescriptorServiceList& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorServiceList::Service& service, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorTeletext& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorTeletext::Page& page, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorComponent& d, text_decoder& text);
std::vector<value_row> rows_of(const lib::DescriptorExtendedEvent& d, text_decoder& text);
std::vector<value_row> rows_of(const lib::DescriptorExtendedEvent::Item& item, text_decoder& text);
std::vector<value_row> rows_of(const lib::DescriptorShortEvent& d, text_decoder& text);
std::vector<value_row> rows_of(const lib::DescriptorTimeShiftedEvent& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorContent& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorContent::Item& item, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorLocalTimeOffset& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorLocalTimeOffset::Offset& offset, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorCopyright& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorCAIdentifier& d, text_decoder&);
std::vector<value_row> rows_of(ca_system_id id, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorAudioStream& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorSTD& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorPrivateDataIndicator& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorStreamIdentifier& d, text_decoder&);
std::vector<value_row> rows_of(const lib::DescriptorDescribed& d, text_decoder& text);
std::vector<value_row> rows_of(lib::described_record r, text_decoder& text);

}  // namespace kestrel::views
