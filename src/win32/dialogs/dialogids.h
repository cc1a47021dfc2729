// Resource ids of the dialogs in dialogs.rc (2000-3999), named after the
// controls they stand for. Plain macros: the resource compiler reads them too.
#ifndef TARVIK_WIN32_DIALOGIDS_H
#define TARVIK_WIN32_DIALOGIDS_H

// Settings dialog (TForm3) and its pages, one child dialog per tab.
#define IDD_SETTINGS 2000
#define IDC_PageControl1 2001
#define IDD_PAGE_BASIC 2010
#define IDD_PAGE_SOUND 2011
#define IDD_PAGE_APPS 2012
#define IDD_PAGE_TIMED 2013
#define IDD_PAGE_ADVANCED 2014
#define IDD_PAGE_NAMES 2015
#define IDD_PAGE_NOTIFY 2016
#define IDD_PAGE_TARIFF 2017

// 基本設定
#define IDC_Edit5 2101
#define IDC_Edit14 2102
#define IDC_ComboBox1 2103
#define IDC_Edit4 2104
#define IDC_CheckBox11 2105
#define IDC_CheckBox1 2106
#define IDC_CheckBox4 2107
#define IDC_CheckBox3 2108
#define IDC_CheckBox5 2109
#define IDC_CheckBox10 2110
#define IDC_CheckBox15 2111
#define IDC_CheckBox2 2112
#define IDC_CheckBoxKeyring 2113

// ｻｳﾝﾄﾞ設定
#define IDC_Edit6 2120
#define IDC_Edit1 2121
#define IDC_Edit3 2122
#define IDC_Edit15 2123
#define IDC_Edit16 2124
#define IDC_Edit2 2125
#define IDC_Edit_RingSound 2126
#define IDC_Edit_NameSound 2127
#define IDC_SpeedButton1 2130
#define IDC_SpeedButton2 2131
#define IDC_SpeedButton3 2132
#define IDC_SpeedButton5 2133
#define IDC_SpeedButton7 2134
#define IDC_SpeedButton4 2135
#define IDC_SpeedButton8 2136
#define IDC_SoundBrowse 2137

// 同時起動ｱﾌﾟﾘ
#define IDC_ComboBox3 2140
#define IDC_Edit7 2141
#define IDC_Edit8 2142
#define IDC_Edit9 2143
#define IDC_Edit10 2144
#define IDC_Edit11 2145
#define IDC_Edit19 2146
#define IDC_Edit20 2147
#define IDC_AppBrowse 2148

// 時限処理
#define IDC_Edit12 2150
#define IDC_Edit13 2151
#define IDC_Edit17 2152
#define IDC_ComboBox2 2153
#define IDC_CheckBox13 2154
#define IDC_CheckBox18 2155
#define IDC_Script 2156

// 高度な設定
#define IDC_GroupBox1 2160
#define IDC_CheckBox6 2161
#define IDC_CheckBox7 2162
#define IDC_CheckBox8 2163
#define IDC_CheckBox9 2164
#define IDC_CheckBox14 2165
#define IDC_CheckBox19 2166
#define IDC_Edit21 2167
#define IDC_RedialBox 2168
#define IDC_CheckBox12 2169
#define IDC_CheckBox16 2170
#define IDC_CheckBox17 2171
#define IDC_Edit18 2172

// ﾈｰﾑﾃﾞｨｽﾌﾟﾚｲ
#define IDC_Edit22 2180
#define IDC_Edit23 2181
#define IDC_Button4 2182
#define IDC_Button5 2183
#define IDC_ListBox1 2184
#define IDC_NamePanel 2185

// 通知
#define IDC_CheckNotifyIncoming 2190
#define IDC_CheckNotifyConnected 2191
#define IDC_CheckNotifyDisconnected 2192
#define IDC_CheckNotifyFailed 2193
#define IDC_CheckNotifyRouter 2194

// 料金
#define IDC_SpinTariffUnit 2200
#define IDC_SpinTariffYen 2201
#define IDC_SpinFlatFrom 2202
#define IDC_SpinFlatTo 2203
#define IDC_EditFlatDest 2204

// First-run dialog (TForm8)
#define IDD_FIRSTRUN 2400
#define IDC_FirstRunEdit1 2401
#define IDC_FirstRunPanel 2402

// ID and password dialog (TForm7)
#define IDD_CREDENTIALS 2500
#define IDC_UserId 2501
#define IDC_Password 2502

// Details window (TForm5)
#define IDD_DETAILS 2600
#define IDC_Memo1 2601
#define IDC_DetailsButton1 2602
#define IDC_DetailsButton2 2603
#define IDC_DetailsButton3 2604
#define IDC_DetailsButton4 2605
#define IDC_Mail_Button 2606
#define IDC_PHS_Button 2607
#define IDC_DetailsPanel1 2608

// About box (TForm4)
#define IDD_ABOUT 2700
#define IDC_Image1 2701
#define IDC_AboutLabel1 2702
#define IDC_Version 2703
#define IDC_AboutLicense 2704

#endif
