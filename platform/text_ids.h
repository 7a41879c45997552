#ifndef LUMORA_TEXT_IDS_H
#define LUMORA_TEXT_IDS_H
/* Text ids of the string table, shared by the .rc files and every floor of the code (beside
   the text interface, so probes/ reaches them without climbing). Plain #defines: windres
   reads this. */

/* Text table, 100 to 140 (109 does not exist). Later texts start at 200, in both languages. */
#define IDS_CAPTION_INSTALLED        100
#define IDS_WINDOWS_VERSION          101
#define IDS_NOT_AVAILABLE            102
#define IDS_USER_LANGUAGE            103
#define IDS_ANSI_CODE_PAGE           104
#define IDS_WINDOWS_SETTINGS_FRAME   105
#define IDS_MDAC_INSTALLATION        106
#define IDS_MDAC_INSTALLED_VERSION   107
#define IDS_IE_VERSION               108
#define IDS_SYSTEM_LANGUAGE          110
#define IDS_REREGISTER_MDAC          111
#define IDS_OTHER_COMPONENTS_FRAME   112
#define IDS_VB6_RUNTIME              113
#define IDS_VBSCRIPT_VERSION         114
#define IDS_REREGISTER_COMPONENTS    115
#define IDS_MDAC_AVAILABLE_VERSION   116
#define IDS_URL_MDAC_DOWNLOAD        117
#define IDS_URL_COMPONENTS_DOWNLOAD  118
#define IDS_EXIT                     119
#define IDS_MDAC_FILES               120
#define IDS_JET_INSTALLED_VERSION    121
#define IDS_JET_AVAILABLE_VERSION    122
#define IDS_REREGISTER_JET           123
#define IDS_SYSTEM_FOLDERS_FRAME     124
#define IDS_MY_DOCUMENTS             125
#define IDS_APPLICATION_DATA         126
#define IDS_TEMPORARY_FILES          127
#define IDS_HTML_HELP_DIRECTORY      128
#define IDS_JET_FILES                129
#define IDS_TAB_WINDOWS              130
#define IDS_TAB_COMPONENTS           131
#define IDS_ABOUT                    132
#define IDS_CAPTION_NOT_INSTALLED    133
#define IDS_AD_ABOUT                 134
#define IDS_AD_DOWNLOAD              135
#define IDS_AD_LINE                  136
#define IDS_COLUMN_FILE_NAME         137
#define IDS_COLUMN_FILE_VERSION      138
#define IDS_COLUMN_PATH              139
#define IDS_COMMON_FILES_NOT_SET     140

/* The file lists' context menu and the report (200 to 209). */
#define IDS_MENU_COPY                200
#define IDS_MENU_SELECT_ALL          201
#define IDS_MENU_COPY_REPORT         202
#define IDS_REPORT_CREATED           203
#define IDS_CLIPBOARD_FAILED         204

/* The re-register commands' message (210 to 219). */
#define IDS_REGISTER_FAILED          210
#define IDS_REGISTER_NEEDS_ADMIN     211
#define IDS_ENTRY_POINT_NOT_FOUND    212
/* What a component did to the worker process that registered it. */
#define IDS_COMPONENT_CRASHED        213
#define IDS_COMPONENT_EXITED         214
#define IDS_COMPONENT_TIMED_OUT      215

/* Whether applications reach each file through the classes they create by name. */
#define IDS_COLUMN_REGISTRATION      216
#define IDS_REACH_THIS_FILE          217
#define IDS_REACH_OTHER_FILE         218
#define IDS_REACH_FILE_MISSING       219
#define IDS_REACH_NOT_REGISTERED     220
#define IDS_REPORT_CLASSES           221

/* The command line for administrators' scripts (300 to 319). */
#define IDS_CMD_USAGE                300
#define IDS_CMD_REPORT_WRITTEN       301
#define IDS_CMD_REPORT_NOT_WRITTEN   302
#define IDS_CMD_FILES_NOT_REACHED    303
#define IDS_CMD_REGISTERED           304
#define IDS_CMD_REGISTER_FAILURES    305
#define IDS_REPORT_REREGISTERED      306
#define IDS_OUTCOME_REGISTERED       307
#define IDS_OUTCOME_SKIPPED          308
#define IDS_OUTCOME_NOT_FOUND        309
#define IDS_COMPONENT_WINDOW_ENDED   310

#endif
