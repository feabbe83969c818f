#include "settings/qsettings_store.h"

#include <QSettings>
#include <QStringList>
#include <limits>

namespace kestrel {

namespace {

QString path_of(std::string_view group, std::string_view key) {
    return QString::fromUtf8(group.data(), static_cast<qsizetype>(group.size())) + '/' +
           QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

}  // namespace

qsettings_store::qsettings_store()
    : qsettings_store(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                  QStringLiteral("Tidewell"), QStringLiteral("kestrel"))) {}

qsettings_store::qsettings_store(const std::string& ini_path)
    : qsettings_store(std::make_unique<QSettings>(QString::fromStdString(ini_path), QSettings::IniFormat)) {}

qsettings_store::qsettings_store(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {
    if (settings_->status() == QSettings::AccessError)
        unreadable_ = "settings file '" + location() + "' cannot be read; changes are not saved";
    else if (settings_->status() == QSettings::FormatError)
        unreadable_ =
            "settings file '" + location() + "' is not a valid settings file; changes are not saved";
}

qsettings_store::~qsettings_store() = default;

std::int32_t qsettings_store::read_int(std::string_view group, std::string_view key, std::int32_t fallback) {
    if (unsaved_.contains(group, key)) return unsaved_.read_int(group, key, fallback);
    const QVariant value = settings_->value(path_of(group, key));
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    // The store keeps 32-bit numbers; values some readers take as unsigned (up to
    // 4294967295) read back as the same 32 bits.
    if (!ok || number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::uint32_t>::max())
        return fallback;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

std::string qsettings_store::read_string(std::string_view group, std::string_view key,
                                         std::string_view fallback) {
    if (unsaved_.contains(group, key)) return unsaved_.read_string(group, key, fallback);
    const QVariant value = settings_->value(path_of(group, key));
    if (!value.isValid()) return std::string(fallback);
    // An INI value with unquoted commas reads as a list ("Sat, A" edited by hand).
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(", ").toStdString();
    return value.toString().toStdString();
}

void qsettings_store::write_int(std::string_view group, std::string_view key, std::int32_t value) {
    if (!unreadable_.empty())
        unsaved_.write_int(group, key, value);
    else
        settings_->setValue(path_of(group, key), value);
}

void qsettings_store::write_string(std::string_view group, std::string_view key, std::string_view value) {
    if (!unreadable_.empty())
        unsaved_.write_string(group, key, value);
    else
        settings_->setValue(path_of(group, key),
                            QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

bool qsettings_store::sync() {
    if (unreadable_.empty()) settings_->sync();
    return status().empty();
}

std::string qsettings_store::status() {
    if (!unreadable_.empty()) return unreadable_;
    if (settings_->status() == QSettings::NoError) return "";
    return "settings file '" + location() + "' cannot be written";
}

std::string qsettings_store::location() {
    return settings_->fileName().toStdString();
}

}  // namespace kestrel
