#pragma once

#include <QString>
#include <QUrl>
#include <cstdint>

namespace kestrel::app {

// The addresses the Help commands open, from the build options KESTREL_WEB_SITE and
// KESTREL_AUTHOR_MAIL.
QString web_site();
QString author_mail();
QUrl homepage_url();
QUrl mail_url();
// The update page asks about this product (number 10) at this build.
QUrl update_url(std::uint32_t build);

}  // namespace kestrel::app
