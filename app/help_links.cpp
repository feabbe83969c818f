#include "app/help_links.h"

namespace kestrel::app {

namespace {

constexpr int product_number = 10;

}  // namespace

QString web_site() {
    return QStringLiteral(KESTREL_WEB_SITE);
}

QString author_mail() {
    return QStringLiteral(KESTREL_AUTHOR_MAIL);
}

QUrl homepage_url() {
    return QUrl(web_site() + QStringLiteral("kestrel.php"));
}

QUrl mail_url() {
    return QUrl(QStringLiteral("mailto:") + author_mail());
}

QUrl update_url(std::uint32_t build) {
    return QUrl(web_site() + QStringLiteral("updates.php?PID=%1&BUILD=%2").arg(product_number).arg(build));
}

}  // namespace kestrel::app
