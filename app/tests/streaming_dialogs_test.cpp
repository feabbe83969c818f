#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>

#include "app/dialogs/pid_streaming_dlg.h"
#include "app/dialogs/recording_progress.h"
#include "app/dialogs/single_pid_streaming_dlg.h"
#include "app/message_box.h"
#include "app/testing/scripted_file_chooser.h"
#include "settings/keys.h"
#include "settings/qsettings_store.h"
#include "startup/session.h"

namespace kestrel::app {
namespace {

// Calls `seen` with each dialog of type T as it is shown, before its modal loop runs.
template <class T>
class shown_watch : public QObject {
  public:
    explicit shown_watch(std::function<void(T&)> seen) : seen_(std::move(seen)) {
        QApplication::instance()->installEventFilter(this);
    }
    ~shown_watch() override { QApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* dialog = dynamic_cast<T*>(watched)) seen_(*dialog);
        return false;
    }

  private:
    std::function<void(T&)> seen_;
};

// What a progress dialog showed when it ended.
struct ended_progress {
    QString title;
    QString bytes;
};

template <class T>
std::unique_ptr<shown_watch<T>> note_end(std::optional<ended_progress>& ended) {
    return std::make_unique<shown_watch<T>>([&ended](T& dialog) {
        QObject::connect(&dialog, &QDialog::finished, &dialog, [&ended, &dialog] {
            ended = ended_progress{dialog.windowTitle(), dialog.bytes_read().text()};
        });
    });
}

// The demo card in a session over a settings file of a fresh folder; messages caught.
class StreamingDialogs : public ::testing::Test {
  protected:
    void open(const std::string& spec) {
        ASSERT_TRUE(folder_.isValid());
        settings_ = std::make_unique<qsettings_store>(ini());
        session_ = std::make_unique<startup::session>(*settings_, startup::session_options{spec, 0});
        if (session_->device() == nullptr) GTEST_SKIP() << session_->card_error();
        ASSERT_TRUE(session_->device()->is_locked());
        set_message_hook([this](const QString& text) { messages_ << text; });
    }
    void TearDown() override { set_message_hook({}); }

    std::string ini() const { return path("T.ini").toStdString(); }
    QString path(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }
    static std::uintmax_t size(const QString& file) { return std::filesystem::file_size(file.toStdString()); }
    void make_plain_file() const { std::ofstream(path("plain").toStdString()) << "x"; }
    // A setting as a fresh store reads it from the file.
    std::string stored(const settings::string_key& key) {
        EXPECT_TRUE(settings_->sync());
        qsettings_store reopened(ini());
        return settings::read(reopened, key);
    }

    QTemporaryDir folder_;
    std::unique_ptr<qsettings_store> settings_;
    std::unique_ptr<startup::session> session_;
    testing::scripted_file_chooser files_;
    QStringList messages_;
};

TEST_F(StreamingDialogs, LauncherRecordsOnePassIntoAFilePerPidAndKeepsTheBaseName) {
    open("demo");
    std::optional<ended_progress> ended;
    const auto watch = note_end<CMulPIDStreamingRawDlg>(ended);
    CPIDStreamingDlg launcher(views::to_pid_list({0x11, 0x10, 0}), *session_->device(), *settings_, files_,
                              nullptr);
    EXPECT_EQ(launcher.base_name().text(),
              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/stream.bin");
    EXPECT_EQ(launcher.pid(0).text(), "0000");
    EXPECT_EQ(launcher.pid(3).text(), "1fff");
    EXPECT_EQ(launcher.buffer().currentText(), "6016");

    files_.answers << path("rec.ts");
    launcher.browse();
    ASSERT_EQ(files_.requests.size(), 1u);
    EXPECT_EQ(files_.requests[0].default_suffix, "ts");
    EXPECT_EQ(files_.requests[0].filters.size(), 2);
    launcher.pid(3).setText(QStringLiteral("zz"));  // does not read: stays 0x1FFF
    launcher.start();
    ASSERT_TRUE(ended.has_value()) << "the progress dialog never ended";
    EXPECT_EQ(ended->title, "Multiple PID streaming");
    std::uintmax_t total = 0;
    for (const char* name : {"rec_0000.ts", "rec_0010.ts", "rec_0011.ts"}) {
        EXPECT_GT(size(path(name)), 0u) << name;
        EXPECT_EQ(size(path(name)) % 188, 0u) << name;
        total += size(path(name));
    }
    EXPECT_EQ(ended->bytes.toULongLong(), total);
    EXPECT_EQ(launcher.pids()[3], views::null_pid);
    EXPECT_EQ(stored(settings::mulpidfile), path("rec.ts").toStdString());

    // The name as typed is kept; without PIDs the progress ends at once.
    ended.reset();
    launcher.reset_filter();
    EXPECT_EQ(launcher.pid(0).text(), "1fff");
    launcher.base_name().setText(path("typed.bin"));
    launcher.start();
    EXPECT_TRUE(ended.has_value());
    EXPECT_EQ(stored(settings::mulpidfile), path("typed.bin").toStdString());
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join('\n').toStdString();
}

TEST_F(StreamingDialogs, FailedTargetsNameThePidAndTheFile) {
    open("demo");
    make_plain_file();
    CPIDStreamingDlg launcher(views::to_pid_list({0x10}), *session_->device(), *settings_, files_, nullptr);
    launcher.base_name().setText(path("plain/rec.ts"));
    launcher.start();
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].startsWith("PID 0x0010: cannot create " + path("plain/rec_0010.ts")))
        << messages_[0].toStdString();

    CSinglePIDStreamingDlg single(0x100, *session_->device(), *settings_, files_, nullptr);
    single.file().setText(path("plain/one.bin"));
    single.start();
    ASSERT_EQ(messages_.size(), 2);
    EXPECT_TRUE(messages_[1].startsWith("PID 0x0100: cannot create " + path("plain/one.bin")))
        << messages_[1].toStdString();
}

TEST_F(StreamingDialogs, SinglePidRecordsToTheEndOfThePassAndKeepsTheFile) {
    open("demo");
    std::optional<ended_progress> ended;
    const auto watch = note_end<CPIDStreamingRawDlg>(ended);
    CSinglePIDStreamingDlg dialog(0x100, *session_->device(), *settings_, files_, nullptr);
    EXPECT_EQ(dialog.pid().text(), "0100");
    EXPECT_EQ(dialog.buffer().currentText(), "2000");
    EXPECT_EQ(dialog.mode().currentText(), "entire_packet");
    files_.answers << path("one.bin");
    dialog.browse();
    EXPECT_EQ(files_.requests.at(0).default_suffix, "bin");
    EXPECT_EQ(dialog.file().text(), path("one.bin"));

    dialog.pid().setText(QStringLiteral("10"));
    dialog.start();
    ASSERT_TRUE(ended.has_value());
    EXPECT_EQ(ended->title, "Streaming");
    EXPECT_GT(size(path("one.bin")), 0u);
    EXPECT_EQ(ended->bytes.toULongLong(), size(path("one.bin")));
    EXPECT_EQ(stored(settings::pidfile), path("one.bin").toStdString());
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join('\n').toStdString();
}

TEST_F(StreamingDialogs, CancelEndsARealTimeRecordingAlsoOfAPidWithoutPackets) {
    open("demo?realtime");
    std::optional<ended_progress> ended;
    const auto watch = note_end<CPIDStreamingRawDlg>(ended);
    const shown_watch<CPIDStreamingRawDlg> canceller([](CPIDStreamingRawDlg& progress) {
        QTimer::singleShot(300, &progress, [&progress] { progress.cancel_button().click(); });
    });
    CSinglePIDStreamingDlg dialog(0x100, *session_->device(), *settings_, files_, nullptr);
    // One pass of the demo lasts about two seconds in real time.
    for (const char* pid : {"0", "1234"}) {
        ended.reset();
        dialog.pid().setText(QString::fromLatin1(pid));
        dialog.file().setText(path(pid));
        const auto begun = std::chrono::steady_clock::now();
        dialog.start();
        EXPECT_LT(std::chrono::steady_clock::now() - begun, std::chrono::milliseconds(1500)) << pid;
        ASSERT_TRUE(ended.has_value()) << pid;
        EXPECT_EQ(ended->bytes.toULongLong(), size(path(pid))) << pid;
    }
    EXPECT_EQ(size(path("1234")), 0u);
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join('\n').toStdString();
}

}  // namespace
}  // namespace kestrel::app
