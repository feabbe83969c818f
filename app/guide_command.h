#pragma once

namespace kestrel::app {

class CKestrel2App;

// "Programme guide" (View menu): collects the guide on the card in use behind its progress
// dialog and opens a guide window on what came (also after Cancel, when something came).
void open_programme_guide(CKestrel2App& app);

}  // namespace kestrel::app
