#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QStandardItemModel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include "app/dialogs/lnb_config_dlg.h"
#include "app/dialogs/lnb_disq_dlg.h"
#include "app/dialogs/settings_dlg.h"
#include "app/dialogs/si_table_dlg.h"
#include "app/dialogs/delivery_fields.h"
#include "app/dialogs/tuning_dlg.h"
#include "app/tests/rig.h"
#include "settings/keys.h"
#include "settings/qsettings_store.h"

namespace kestrel::app {
namespace {

using testing::rig;

TEST(SettingsDialog, HoldsTheStoredLevelToTheList) {
    memory_store settings;
    settings::write(settings, settings::loglevel, 7);
    CSettingsDlg dialog(settings, nullptr);
    EXPECT_EQ(dialog.level().currentText(), "3");
    dialog.level().setCurrentIndex(1);
    dialog.accept();
    EXPECT_EQ(settings::read(settings, settings::loglevel), 1);
}

TEST(LnbConfigDialog, KeepsEachPositionsSatelliteThroughTheFile) {
    QTemporaryDir folder;
    const std::string ini = folder.filePath(QStringLiteral("T.ini")).toStdString();
    CSatelliteList satellites;
    satellites.parse_line("\"Astra 19.2E\",192,12551,1,22000,5");
    satellites.parse_line("\"Hotbird 13E\",130,11034,0,27500,3");
    {
        qsettings_store settings(ini);
        settings::write(settings, settings::lnb_satellite[0], "astra 19.2e");
        settings::write(settings, settings::lnb_satellite[1], "Gone 1W");
        settings::write(settings, settings::lnb_satellite[3], "Hotbird 13E");
        CLnbConfigDlg dialog(settings, satellites, nullptr);
        EXPECT_EQ(dialog.satellite(0).currentText(), "Astra 19.2E");
        EXPECT_EQ(dialog.satellite(1).currentText(), "Gone 1W");
        EXPECT_FALSE(dialog.used(2).isChecked());
        EXPECT_FALSE(dialog.satellite(2).isEnabled());
        dialog.used(2).setChecked(true);
        EXPECT_TRUE(dialog.satellite(2).isEnabled());
        dialog.satellite(2).setCurrentIndex(1);
        dialog.used(3).setChecked(false);
        dialog.accept();
        ASSERT_TRUE(settings.sync());
    }
    qsettings_store reopened(ini);
    EXPECT_EQ(settings::read(reopened, settings::lnb_satellite[0]), "Astra 19.2E");
    EXPECT_EQ(settings::read(reopened, settings::lnb_satellite[1]), "Gone 1W");
    EXPECT_EQ(settings::read(reopened, settings::lnb_satellite[2]), "Hotbird 13E");
    EXPECT_EQ(settings::read(reopened, settings::lnb_satellite[3]), "");
}

TEST(LnbDisqDialog, RefusesNonNumbersThenRetunesTheCurrentChannel) {
    rig r;
    settings::write(r.settings, settings::disqmode, 5);
    r.device->set_tuner(11.778, 1, -1, 27500000, 0);
    CLnbDisqDlg dialog(r.settings, *r.device, nullptr);
    EXPECT_TRUE(dialog.mode(2).isChecked());
    EXPECT_EQ(dialog.lof1().text(), "9750000");

    dialog.lof2().setText(QStringLiteral("0"));
    dialog.accept();
    EXPECT_EQ(r.messages.size(), 1);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings::read(r.settings, settings::disqmode), 5);

    dialog.lof2().setText(QStringLiteral("10700000"));
    dialog.mode(0).setChecked(true);
    dialog.power().setChecked(false);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings::read(r.settings, settings::lof2), 10700000);
    EXPECT_EQ(settings::read(r.settings, settings::disqmode), 0);
    EXPECT_EQ(settings::read(r.settings, settings::lnbpower), 0);
    const LnbConfig lnb = r.device->lnb_config();
    EXPECT_EQ(lnb.lof2, 10700000u);
    EXPECT_FALSE(lnb.lnb_power);
    // The channel of before, not the stored tuning of the last run.
    const ChannelRecord channel = r.card->channel();
    EXPECT_EQ(channel.word[channel_word::frequency], 11778000u);
    EXPECT_EQ(channel.word[channel_word::symbol_rate], 27500000u);
    EXPECT_EQ(channel.word[channel_word::lof], 10700000u);
}

TEST(SiTableDialog, EveryTableByDefaultAndOneBitPerBox) {
    memory_store settings;
    {
        CSITableDlg dialog(settings, nullptr);
        for (std::uint32_t bit = 1; bit <= 0x4000; bit <<= 1)
            EXPECT_TRUE(dialog.table(bit).isChecked()) << bit;
        dialog.table(0x4000).setChecked(false);
        dialog.accept();
    }
    EXPECT_EQ(settings.read_int("table", "enable", 0), 0x3FFF);
    CSITableDlg reopened(settings, nullptr);
    EXPECT_FALSE(reopened.table(0x4000).isChecked());
    EXPECT_TRUE(reopened.table(0x2000).isChecked());
}

TEST(TuningDialog, ShowsTheSatelliteReadBackAndTunesWithTwelveVoltsAsked) {
    rig r;
    r.device->set_tuner(12.322, 0, -1, 27800000, 0);
    CTuningDlg dialog(read_tuning(*r.device), *r.device, r.settings, nullptr);
    EXPECT_EQ(dialog.frequency().text(), "12322");
    EXPECT_EQ(dialog.symbol_rate().text(), "27800");
    EXPECT_EQ(dialog.fec().currentText(), "AUTO");
    EXPECT_EQ(dialog.polarity().currentText(), "Hor");
    EXPECT_FALSE(dialog.twelve_volt().isEnabled());
    EXPECT_FALSE(dialog.qam().isEnabled());

    dialog.twelve_volt().setCurrentIndex(1);
    dialog.fec().setCurrentText(QStringLiteral("1/2"));
    dialog.frequency().setText(QStringLiteral("11778"));
    dialog.polarity().setCurrentIndex(1);
    dialog.apply();
    EXPECT_TRUE(r.messages.isEmpty()) << r.messages.join(',').toStdString();
    EXPECT_EQ(dialog.record().word_e, 1);
    EXPECT_EQ(dialog.record().word_b, 1);
    EXPECT_EQ(r.card->channel().word[channel_word::frequency], 11778000u);
    EXPECT_EQ(r.card->channel().word[channel_word::symbol_rate], 27800000u);
}

TEST(TuningDialog, CableTakesKilosymbolsAndTunesUndefinedModulationAs64Qam) {
    rig r(frontend_dvb_c);
    CTuningDlg dialog(read_tuning(*r.device), *r.device, r.settings, nullptr);
    EXPECT_FALSE(dialog.disq().isEnabled());
    EXPECT_FALSE(dialog.polarity().isEnabled());
    dialog.frequency().setText(QStringLiteral("346000"));
    dialog.symbol_rate().setText(QStringLiteral("6900"));
    dialog.qam().setCurrentText(QStringLiteral("Not defined"));
    dialog.bandwidth_8().setChecked(true);
    dialog.apply();
    EXPECT_TRUE(r.messages.isEmpty());
    const ChannelRecord channel = r.card->channel();
    EXPECT_EQ(channel.word[channel_word::frequency], 346000u);
    EXPECT_EQ(channel.word[channel_word::symbol_rate], 6900000u);
    EXPECT_EQ(channel.word[channel_word::modulation], 2u);  // 64-QAM

    CTuningDlg reopened(read_tuning(*r.device), *r.device, r.settings, nullptr);
    EXPECT_EQ(reopened.symbol_rate().text(), "6900");
    EXPECT_TRUE(reopened.bandwidth_8().isChecked());
}

TEST(TuningDialog, TunesTheDeliveryShownAndDisablesWhatTheFrontendLacks) {
    using lib13818::DeliverySystem;
    rig r;
    r.card->set().systems = {DeliverySystem::dvb_s};
    r.card->set().statistics.strength_dbm = -34.2;
    r.card->set().statistics.cnr_db = 28.1;
    CTuningDlg plain(read_tuning(*r.device), *r.device, r.settings, nullptr);
    const auto* systems = static_cast<QStandardItemModel*>(plain.delivery().system().model());
    EXPECT_FALSE(systems->item(plain.delivery().system().findText(QStringLiteral("DVB-S2")))->isEnabled());
    EXPECT_TRUE(systems->item(plain.delivery().system().findText(QStringLiteral("DVB-S")))->isEnabled());
    EXPECT_FALSE(plain.delivery().roll_off().isEnabled());
    EXPECT_FALSE(plain.delivery().stream_id().isEnabled());
    EXPECT_TRUE(plain.delivery().roll_off().isVisibleTo(&plain));
    EXPECT_TRUE(testing::wait_until([&] { return plain.strength().text() == "-34.2 dBm"; }, 2000));
    EXPECT_EQ(plain.cnr().text(), "28.1 dB");

    r.card->set().systems = {DeliverySystem::dvb_s, DeliverySystem::dvb_s2};
    CTuningDlg dialog(read_tuning(*r.device), *r.device, r.settings, nullptr);
    EXPECT_TRUE(dialog.delivery().roll_off().isEnabled());
    dialog.delivery().system().setCurrentText(QStringLiteral("DVB-S2"));
    dialog.delivery().modulation().setCurrentText(QStringLiteral("8PSK"));
    dialog.delivery().stream_id().setText(QStringLiteral("1"));
    dialog.apply();
    EXPECT_TRUE(r.messages.isEmpty()) << r.messages.join(',').toStdString();
    const ChannelRecord channel = r.card->channel();
    EXPECT_EQ(channel.delivery.system, DeliverySystem::dvb_s2);
    EXPECT_EQ(channel.delivery.modulation, lib13818::Modulation::psk_8);
    EXPECT_EQ(channel.delivery.stream_id, 1);
    EXPECT_EQ(channel.delivery.scrambling_index, -1);  // left empty
    EXPECT_EQ(channel.word[channel_word::symbol_rate], 27800000u);

    CTuningDlg reopened(read_tuning(*r.device), *r.device, r.settings, nullptr);
    EXPECT_EQ(reopened.delivery().system().currentText(), "DVB-S2");
    EXPECT_EQ(reopened.delivery().stream_id().text(), "1");
}

}  // namespace
}  // namespace kestrel::app
