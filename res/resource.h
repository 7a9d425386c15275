// Resource ids of talvero.exe, shared by the resource script and the code.
// Blocks by purpose; the numbers are part of the program's external interface.
#pragma once

// Dialog templates.
#define IDD_ABOUT 102
#define IDD_DOCUMENT 103
#define IDD_CONFIG 119
#define IDD_HABIT 123

// Icons, bitmaps and the menu.
#define IDI_TALVERO 104
#define IDI_LIST_DEFAULT 118
#define IDB_BUTTON_STRIP 121
#define IDB_CONFIG_BANNER 122
#define IDM_MAIN_MENU 105

// String table: one buffer each in AppState.texts.
#define IDS_SET_TO_GRAY 104
#define IDS_TURN_OFF_GRAY 105
#define IDS_COLUMN_TITLE 106
#define IDS_COLUMN_APPLICATION 107
#define IDS_COLUMN_ON_OFF 108
#define IDS_TIP_FOREGROUND_MODE 109
#define IDS_TIP_SCREEN_MODE 110
#define IDS_TIP_NORMAL_COLOR 111
#define IDS_TIP_TRAY 112
#define IDS_TIP_CONFIGURE 113
#define IDS_UNSUPPORTED_SYSTEM 114
#define IDS_COMPOSITION_REFUSAL 115
#define IDS_ERROR_TITLE 116
#define IDS_GRAY_ON 117
#define IDS_GRAY_OFF 118
#define IDS_UNDER_MEASUREMENT 119
#define IDS_GRAY_LABEL 120
// Notes of the notification area and the single instance.
#define IDS_TRAY_ICON_FAILED 130
#define IDS_RUNNING_COPY_UNREACHABLE 131
// Status bar: gray on, but nothing copied while nobody can see the desk.
#define IDS_GRAY_PAUSED 132

// String table: messages loaded where they are shown.
#define IDS_SAVE_FAILED_TITLE 150
#define IDS_SETTINGS_NOT_SAVED 151
#define IDS_RULES_NOT_SAVED 152
#define IDS_HABIT_NOT_SAVED 153
// The Habit dialog's refusals.
#define IDS_HABIT_LINE_NOT_UNDERSTOOD 170
#define IDS_HABIT_TOO_MANY 171
#define IDS_HABIT_FADE_OUT_OF_RANGE 172

// Main window controls.
#define IDC_STATUS_BAR 2002
#define IDC_WINDOW_LIST 2004
#define IDC_BUTTON_NORMAL_COLOR 2008
#define IDC_BUTTON_SCREEN_MODE 2010
#define IDC_BUTTON_TRAY 2012
#define IDC_BUTTON_CONFIGURE 2014
#define IDC_BUTTON_FOREGROUND_MODE 2016

// Commands without a button of their own (a hotkey, the command line).
#define IDC_COMMAND_FOCUS_MODE 2018
#define IDC_COMMAND_MONITOR_MODE 2020
#define IDC_COMMAND_RULES_MODE 2022
#define IDC_COMMAND_SNOOZE 2024

// Menu commands.
#define IDM_FILE_EXIT 40003
#define IDM_HELP_DOCUMENT 40004
#define IDM_HELP_ABOUT 40005
#define IDM_HABIT 40006
// The tray icon's menu.
#define IDM_TRAY_OPEN 40010
#define IDM_TRAY_SNOOZE_10 40011
#define IDM_TRAY_SNOOZE_30 40012
#define IDM_TRAY_SNOOZE_60 40013
#define IDM_TRAY_SNOOZE_END 40014
#define IDM_TRAY_HABIT 40015
#define IDM_TRAY_STATE 40016

// Help dialog controls.
#define IDC_ABOUT_CLOSE 1001
#define IDC_DOCUMENT_CLOSE 1002
#define IDC_DOCUMENT_OPEN 1003
#define IDC_ABOUT_SETTINGS_FOLDER 1013

// Configuration dialog controls.
#define IDC_CONFIG_NTSC 1004
#define IDC_CONFIG_HDTV 1005
#define IDC_CONFIG_REVERSE 1007
#define IDC_CONFIG_TONE 1009
#define IDC_CONFIG_CLOSE 1010
#define IDC_CONFIG_DEFAULT 1011
#define IDC_CONFIG_TONE_VALUE 1012

// Habit dialog controls (OK and Cancel are IDOK and IDCANCEL).
#define IDC_HABIT_PERIODS 1020
#define IDC_HABIT_HINT 1021
#define IDC_HABIT_FADE 1022
#define IDC_HABIT_FADE_SPIN 1023
#define IDC_HABIT_INTENSITY 1024
#define IDC_HABIT_INTENSITY_VALUE 1025
#define IDC_HABIT_FULLSCREEN_COLOUR 1026

// The manifest resource: id 1 of type RT_MANIFEST (24).
#define IDR_MANIFEST 1
#ifndef RT_MANIFEST
#define RT_MANIFEST 24
#endif

// The documentation page, a manual shipped in the same folder as talvero.exe.
#define DOCUMENT_FILE_NAME "talvero-manual.html"
