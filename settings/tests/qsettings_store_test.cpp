#include "settings/qsettings_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QSettings>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "settings/keys.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

class QSettingsStore : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("kestrel-settings-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string file(const char* name) const { return (folder_ / name).string(); }
    static void write_text(const std::string& path, const char* text) { std::ofstream(path) << text; }
    static std::string read_text(const std::string& path) {
        std::ifstream in(path);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path folder_;
};

TEST_F(QSettingsStore, ValuesSurviveReopeningTheFile) {
    const std::string path = file("kestrel.conf");
    {
        qsettings_store store(path);
        settings::write(store, settings::loglevel, 3);
        settings::write(store, settings::card, "demo");
        settings::write(store, settings::lnb_satellite[1], "Sat, B \xC3\xA9");
        settings::write(store, settings::frequency, 11778000);
        settings::write(store, settings::lof1, -1);
        ASSERT_TRUE(store.sync()) << store.status();
        EXPECT_EQ(store.location(), path);
    }
    // A new QSettings object reads what the store wrote, the "General" group included.
    QSettings raw(QString::fromStdString(path), QSettings::IniFormat);
    EXPECT_EQ(raw.value("General/loglevel").toInt(), 3);
    EXPECT_EQ(raw.value("DISQ/FREQUENCY").toInt(), 11778000);

    qsettings_store again(path);
    EXPECT_EQ(settings::read(again, settings::loglevel), 3);
    EXPECT_EQ(settings::read(again, settings::card), "demo");
    EXPECT_EQ(settings::read(again, settings::lnb_satellite[1]), "Sat, B \xC3\xA9");
    EXPECT_EQ(settings::read(again, settings::lof1), -1);
    EXPECT_EQ(settings::read(again, settings::lof2), 10600000);  // missing: its default
    EXPECT_TRUE(again.status().empty());
}

TEST_F(QSettingsStore, AFileThatCannotBeWrittenIsSaid) {
    write_text(file("plain"), "not a folder");
    const std::string path = file("plain") + "/kestrel.conf";
    qsettings_store store(path);
    settings::write(store, settings::loglevel, 2);
    EXPECT_FALSE(store.sync());
    EXPECT_EQ(store.status(), "settings file '" + path + "' cannot be written");

    qsettings_store folder(folder_.string());
    EXPECT_EQ(folder.status(),
              "settings file '" + folder_.string() + "' cannot be read; changes are not saved");
}

TEST_F(QSettingsStore, AFileThatDoesNotParseIsNeverOverwritten) {
    const std::string path = file("broken.ini");
    const char* text = "[DISQ]\nLOF1=9000000\n[broken\nkey=\"unterminated\n";
    write_text(path, text);
    {
        qsettings_store store(path);
        EXPECT_EQ(store.status(),
                  "settings file '" + path + "' is not a valid settings file; changes are not saved");
        EXPECT_EQ(settings::read(store, settings::lof1), 9000000);
        settings::write(store, settings::lof1, 9750000);
        EXPECT_EQ(settings::read(store, settings::lof1), 9750000);  // for the rest of the run
        EXPECT_FALSE(store.sync());
    }
    EXPECT_EQ(read_text(path), text);
}

}  // namespace
}  // namespace kestrel
