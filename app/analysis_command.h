#pragma once

#include <string>

namespace kestrel::app {

class CKestrel2App;
class CAnalysisWnd;

// "Stream analysis..." (Action menu): a window that follows the live analysis of the whole
// stream the card in use receives; the card is taken until the analysis ends or the window
// closes. Null without a card.
CAnalysisWnd* open_stream_analysis(CKestrel2App& app);

// "Analyse capture..." (File menu): the capture chosen, then analyse_capture_file.
void open_capture_analysis(CKestrel2App& app);
// Analyses the capture in a worker dialog with Cancel and opens a window on its report;
// null after a message when the file cannot be read.
CAnalysisWnd* analyse_capture_file(CKestrel2App& app, const std::string& path);

}  // namespace kestrel::app
