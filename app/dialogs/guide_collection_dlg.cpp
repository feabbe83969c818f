#include "app/dialogs/guide_collection_dlg.h"

#include <QLabel>

#include "settings/settings_store.h"

namespace kestrel::app {

CGuideCollectionDlg::CGuideCollectionDlg(dvb_device& device, settings_store& settings, QWidget* parent)
    : worker_dialog(QStringLiteral("Programme guide"), parent),
      options_{std::nullopt, epg::read_local_time_settings(settings)},
      store_({{}, !options_.local.offset_minutes.has_value()}),
      collection_(device, store_),
      progress_(new QLabel(this)) {
    lay_out_waiting(QStringLiteral("Collecting the programme guide. Please wait..."), progress_);
    poll();
}

CGuideCollectionDlg::~CGuideCollectionDlg() {
    cancel_and_join();
}

int CGuideCollectionDlg::work() {
    collection_.run();
    guide_ = epg::build_guide(store_, options_);
    if (guide_.has_titled_event()) return 0;
    post_message(QStringLiteral(
        "No programme guide was received: the transport stream carries no event with a title."));
    return 1;
}

void CGuideCollectionDlg::cancel() {
    collection_.cancel();
}

void CGuideCollectionDlg::poll() {
    progress_->setText(QStringLiteral("%1 EIT sections, %2 of %3 sub-tables complete")
                           .arg(store_.eit_sections())
                           .arg(store_.complete_sub_tables())
                           .arg(store_.sub_tables()));
}

}  // namespace kestrel::app
