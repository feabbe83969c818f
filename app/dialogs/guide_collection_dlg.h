#pragma once

#include "app/dialogs/worker_dialog.h"
#include "epg/collection.h"
#include "epg/guide_builder.h"

class QLabel;

namespace kestrel {
class settings_store;
}

namespace kestrel::app {

// "Programme guide": collects the guide's sections on the card on its worker until the
// guide is complete, a minute of the card's clock has passed, a capture has played once or
// Cancel, then builds the guide there. Shows the sections collected and the sub-tables
// complete. exec() returns 0 with a guide that has a titled event, else 1 after a message.
class CGuideCollectionDlg final : public worker_dialog {
  public:
    CGuideCollectionDlg(dvb_device& device, settings_store& settings, QWidget* parent);
    ~CGuideCollectionDlg() override;

    epg::guide take_guide() { return std::move(guide_); }
    QLabel& progress() { return *progress_; }

  private:
    int work() override;
    void cancel() override;
    void poll() override;

    epg::build_options options_;
    epg::section_store store_;
    epg::card_collection collection_;
    epg::guide guide_;
    QLabel* progress_;
};

}  // namespace kestrel::app
