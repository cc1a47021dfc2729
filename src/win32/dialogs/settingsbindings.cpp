#include "win32/dialogs/settingsbindings.h"

#include "win32/dialogs/dialogids.h"

namespace tarvik::win32 {
namespace {

const TextBinding kText[] = {
    {IDC_Edit5, [](SettingsStore& s) -> std::string& { return s.tarvik.SOHOIP; }},
    {IDC_Edit14, [](SettingsStore& s) -> std::string& { return s.tarvik.PASS; }},
    {IDC_Edit4, [](SettingsStore& s) -> std::string& { return s.option.TIME; }},
    {IDC_Edit6, [](SettingsStore& s) -> std::string& { return s.sound.s1; }},
    {IDC_Edit1, [](SettingsStore& s) -> std::string& { return s.sound.s2; }},
    {IDC_Edit3, [](SettingsStore& s) -> std::string& { return s.sound.s3; }},
    {IDC_Edit15, [](SettingsStore& s) -> std::string& { return s.sound.s5; }},
    {IDC_Edit16, [](SettingsStore& s) -> std::string& { return s.sound.s6; }},
    {IDC_Edit2, [](SettingsStore& s) -> std::string& { return s.sound.s7; }},
    {IDC_Edit_RingSound, [](SettingsStore& s) -> std::string& { return s.sound.s8; }},
    {IDC_Edit_NameSound, [](SettingsStore& s) -> std::string& { return s.sound.NAMESOUND; }},
    {IDC_Edit12, [](SettingsStore& s) -> std::string& { return s.time.ON; }},
    {IDC_Edit13, [](SettingsStore& s) -> std::string& { return s.time.OFF; }},
    {IDC_Edit17, [](SettingsStore& s) -> std::string& { return s.time.WARNING; }},
    {IDC_Edit21, [](SettingsStore& s) -> std::string& { return s.rd.count; }},
    {IDC_Edit18, [](SettingsStore& s) -> std::string& { return s.option.LOG; }},
    {IDC_EditFlatDest, [](SettingsStore& s) -> std::string& { return s.tariff.FLATDEST; }},
};

const BoolBinding kBool[] = {
    {IDC_CheckBox11, [](SettingsStore& s) -> bool& { return s.option.monitoringOff; }},
    {IDC_CheckBox1, [](SettingsStore& s) -> bool& { return s.option.SIZE; }},
    {IDC_CheckBox4, [](SettingsStore& s) -> bool& { return s.option.restoreOnConnect; }},
    {IDC_CheckBox3, [](SettingsStore& s) -> bool& { return s.option.NEXT; }},
    {IDC_CheckBox5, [](SettingsStore& s) -> bool& { return s.option.parkOnDisconnect; }},
    {IDC_CheckBox10, [](SettingsStore& s) -> bool& { return s.option.showChannelTrayIcons; }},
    {IDC_CheckBox15, [](SettingsStore& s) -> bool& { return s.option.disconnectOnExit; }},
    {IDC_CheckBox2, [](SettingsStore& s) -> bool& { return s.option.ONSCREEN; }},
    {IDC_CheckBox13, [](SettingsStore& s) -> bool& { return s.option.startupConnect; }},
    {IDC_CheckBox18, [](SettingsStore& s) -> bool& { return s.option.runRouterScript; }},
    {IDC_CheckBox6, [](SettingsStore& s) -> bool& { return s.option.showConnectionTime; }},
    {IDC_CheckBox7, [](SettingsStore& s) -> bool& { return s.option.showIpAddress; }},
    {IDC_CheckBox8, [](SettingsStore& s) -> bool& { return s.option.showConnectionMode; }},
    {IDC_CheckBox9, [](SettingsStore& s) -> bool& { return s.option.showPhoneNumber; }},
    {IDC_CheckBox14, [](SettingsStore& s) -> bool& { return s.option.showLineUsage; }},
    {IDC_CheckBox19, [](SettingsStore& s) -> bool& { return s.option.showTransferRate; }},
    {IDC_CheckBox12, [](SettingsStore& s) -> bool& { return s.option.setRouterClock; }},
    {IDC_CheckBox16, [](SettingsStore& s) -> bool& { return s.option.askCredentialsEachCall; }},
    {IDC_CheckBox17, [](SettingsStore& s) -> bool& { return s.option.saveConnectionLog; }},
    {IDC_CheckNotifyIncoming, [](SettingsStore& s) -> bool& { return s.notify.INCOMING; }},
    {IDC_CheckNotifyConnected, [](SettingsStore& s) -> bool& { return s.notify.CONNECTED; }},
    {IDC_CheckNotifyDisconnected, [](SettingsStore& s) -> bool& { return s.notify.DISCONNECTED; }},
    {IDC_CheckNotifyFailed, [](SettingsStore& s) -> bool& { return s.notify.FAILED; }},
    {IDC_CheckNotifyRouter, [](SettingsStore& s) -> bool& { return s.notify.ROUTER; }},
};

const NumberBinding kNumber[] = {
    {IDC_SpinTariffUnit, [](SettingsStore& s) -> int& { return s.tariff.UNIT; }, kMinTariffUnit, kMaxTariffUnit},
    {IDC_SpinTariffYen, [](SettingsStore& s) -> int& { return s.tariff.YEN; }, kMinTariffYen, kMaxTariffYen},
    {IDC_SpinFlatFrom, [](SettingsStore& s) -> int& { return s.tariff.FLATFROM; }, kMinTariffHour, kMaxTariffHour},
    {IDC_SpinFlatTo, [](SettingsStore& s) -> int& { return s.tariff.FLATTO; }, kMinTariffHour, kMaxTariffHour},
};

// The application page's box holds the destination shown there.
const DestinationBinding kDestination[] = {
    {IDC_ComboBox1, [](SettingsStore& s) -> int& { return s.tarvik.DEFAULT; }},
    {IDC_ComboBox2, [](SettingsStore& s) -> int& { return s.tarvik.AUTO; }},
    {IDC_RedialBox, [](SettingsStore& s) -> int& { return s.tarvik.REDIAL; }},
    {IDC_ComboBox3, [](SettingsStore& s) -> int& { return s.appPageDestination; }},
};

}  // namespace

std::span<const TextBinding> textBindings() { return kText; }
std::span<const BoolBinding> boolBindings() { return kBool; }
std::span<const NumberBinding> numberBindings() { return kNumber; }
std::span<const DestinationBinding> destinationBindings() { return kDestination; }

}  // namespace tarvik::win32
