#pragma once

#include <QStringList>
#include <vector>

#include "app/file_chooser.h"

namespace kestrel::app::testing {

// The save dialog's twin for tests: answers with the paths the test queued, in order ("" as
// a cancel; a cancel too once the queue is empty), and keeps every request it was given. A
// request that asks for the chosen filter gets the next one queued in `filters`, else its
// first.
class scripted_file_chooser final : public file_chooser {
  public:
    QString save_file(const save_request& request, QWidget*) override {
        requests.push_back(request);
        if (request.chosen_filter != nullptr)
            *request.chosen_filter = !filters.isEmpty()           ? filters.takeFirst()
                                     : !request.filters.isEmpty() ? request.filters.front()
                                                                  : QString();
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;
    QStringList filters;
    std::vector<save_request> requests;
};

}  // namespace kestrel::app::testing
