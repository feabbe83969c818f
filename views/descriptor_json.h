#pragma once

// The seed's descriptor kinds as they stand in the scan document: each with its tag and
// length, its texts decoded with the network's table and their bytes beside them as hex
// under the same key with "_raw" appended.

#include <string>

#include <nlohmann/json.hpp>

#include "lib13818/core/dvb_text.h"
#include "lib13818/descriptors/audio_stream_descriptor.h"
#include "lib13818/descriptors/ca_descriptor.h"
#include "lib13818/descriptors/ca_identifier_descriptor.h"
#include "lib13818/descriptors/component_descriptor.h"
#include "lib13818/descriptors/content_descriptor.h"
#include "lib13818/descriptors/copyright_descriptor.h"
#include "lib13818/descriptors/extended_event_descriptor.h"
#include "lib13818/descriptors/generic_descriptor.h"
#include "lib13818/descriptors/iso639_language_descriptor.h"
#include "lib13818/descriptors/local_time_offset_descriptor.h"
#include "lib13818/descriptors/private_data_indicator_descriptor.h"
#include "lib13818/descriptors/satellite_delivery_system_descriptor.h"
#include "lib13818/descriptors/service_descriptor.h"
#include "lib13818/descriptors/service_list_descriptor.h"
#include "lib13818/descriptors/short_event_descriptor.h"
#include "lib13818/descriptors/std_descriptor.h"
#include "lib13818/descriptors/stream_identifier_descriptor.h"
#include "lib13818/descriptors/teletext_descriptor.h"
#include "lib13818/descriptors/time_shifted_event_descriptor.h"
#include "lib13818/descriptors/video_stream_descriptor.h"

namespace kestrel::views {

class descriptor_json {
  public:
    explicit descriptor_json(lib13818::dvb_text_decoder& text) : text_(text) {}

    nlohmann::ordered_json of(const lib13818::DescriptorGeneric& d);
    nlohmann::ordered_json of(const lib13818::DescriptorCA& d);
    nlohmann::ordered_json of(const lib13818::DescriptorSatelliteDeliverySystem& d);
    nlohmann::ordered_json of(const lib13818::DescriptorServiceList& d);
    static nlohmann::ordered_json of(const lib13818::DescriptorServiceList::Service& s);
    nlohmann::ordered_json of(const lib13818::DescriptorService& d);
    nlohmann::ordered_json of(const lib13818::DescriptorShortEvent& d);
    nlohmann::ordered_json of(const lib13818::DescriptorExtendedEvent& d);
    nlohmann::ordered_json of(const lib13818::DescriptorExtendedEvent::Item& item);
    nlohmann::ordered_json of(const lib13818::DescriptorTimeShiftedEvent& d);
    nlohmann::ordered_json of(const lib13818::DescriptorComponent& d);
    nlohmann::ordered_json of(const lib13818::DescriptorContent& d);
    static nlohmann::ordered_json of(const lib13818::DescriptorContent::Item& i);
    nlohmann::ordered_json of(const lib13818::DescriptorLocalTimeOffset& d);
    static nlohmann::ordered_json of(const lib13818::DescriptorLocalTimeOffset::Offset& o);
    nlohmann::ordered_json of(const lib13818::DescriptorISO639Language& d);
    static nlohmann::ordered_json of(const lib13818::DescriptorISO639Language::Language& l);
    nlohmann::ordered_json of(const lib13818::DescriptorTeletext& d);
    static nlohmann::ordered_json of(const lib13818::DescriptorTeletext::Page& p);
    nlohmann::ordered_json of(const lib13818::DescriptorVideoStream& d);
    nlohmann::ordered_json of(const lib13818::DescriptorAudioStream& d);
    nlohmann::ordered_json of(const lib13818::DescriptorCAIdentifier& d);
    nlohmann::ordered_json of(const lib13818::DescriptorSTD& d);
    nlohmann::ordered_json of(const lib13818::DescriptorPrivateDataIndicator& d);
    nlohmann::ordered_json of(const lib13818::DescriptorCopyright& d);
    nlohmann::ordered_json of(const lib13818::DescriptorStreamIdentifier& d);

  protected:
    lib13818::dvb_text_decoder& text_;

  private:
    void text(nlohmann::ordered_json& out, const char* key, const lib13818::DvbString& s);
    void raw_text(nlohmann::ordered_json& out, const char* key, const std::string& raw);
};

}  // namespace kestrel::views
