#pragma once

#include <QMdiSubWindow>

#include "app/file_chooser.h"
#include "epg/guide.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTextBrowser;

namespace kestrel::app {

class guide_grid;

// The programme guide window (an MDI child the transponder-window lookup ignores): a day
// chooser in local time, a search box, "Export XMLTV...", the grid of the chosen day and
// the selected event's details. Owns its guide; deletes itself when closed.
class CGuideWnd final : public QMdiSubWindow {
    Q_OBJECT

  public:
    CGuideWnd(epg::guide guide, file_chooser& files, QWidget* parent = nullptr);

    // "Export XMLTV...": the save dialog, then the whole guide into the file chosen.
    void export_xmltv();

    QComboBox& days() { return *days_; }
    QLineEdit& search() { return *search_; }
    QLabel& matches() { return *matches_; }
    guide_grid& grid() { return *grid_; }
    QTextBrowser& details() { return *details_; }
    QScrollArea& scroller() { return *scroller_; }
    const epg::guide& guide() const { return guide_; }

  private:
    QWidget* build_bar();
    void show_day(int index);
    void show_details(const epg::guide_event* event);
    void find(const QString& text);

    const epg::guide guide_;
    file_chooser& files_;
    QComboBox* days_;
    QLineEdit* search_;
    QLabel* matches_;
    QPushButton* export_;
    guide_grid* grid_;
    QScrollArea* scroller_;
    QTextBrowser* details_;
};

}  // namespace kestrel::app
