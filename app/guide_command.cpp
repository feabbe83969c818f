#include "app/guide_command.h"

#include <QMdiArea>

#include "app/dialogs/guide_collection_dlg.h"
#include "app/guide_wnd.h"
#include "app/kestrel_app.h"
#include "app/main_frame.h"

namespace kestrel::app {

void open_programme_guide(CKestrel2App& app) {
    dvb_device* device = app.device();
    if (device == nullptr) return;
    CGuideCollectionDlg collection(*device, app.settings(), &app.main_frame());
    if (collection.exec() != 0) return;
    auto* window = new CGuideWnd(collection.take_guide(), app.files());
    app.main_frame().mdi_area().addSubWindow(window);
    window->showMaximized();
}

}  // namespace kestrel::app
