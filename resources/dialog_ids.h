// Identifiers of the settings dialog, the Edit Token dialog, the send-check
// settings dialog and their controls. Shared by the resource scripts and the
// dialog code.
#pragma once

#define IDD_SETTINGS            101
#define IDD_EDIT_TOKEN          117
#define IDD_SEND_CHECK_SETTINGS 131

#define IDC_HELP_BUTTON         1000
#define IDC_REPLY_BOOK          1002
#define IDC_REPLY_ADDRESS       1003
#define IDC_GROUP_BOOK          1004
#define IDC_GROUP_ADDRESS       1005
#define IDC_ARRANGE_DEFAULT     1006
#define IDC_SERIALIZE           1008
#define IDC_EXTEND_TEMPLATE     1009
#define IDC_REPLY_NAME_ADDR     1012
#define IDC_REPLY_ADDR_NAME     1013
#define IDC_ARRANGE_KEEP_TO     1014
#define IDC_REPORT_SWITCH       1015
#define IDC_REPORT_FILE         1016
#define IDC_REPORT_BROWSE       1017
#define IDC_PLUGIN_HEADER       1018
#define IDC_VIEW_ADDR_NAME      1019
#define IDC_GROUP_NAME_ADDR     1020
#define IDC_GROUP_ADDR_NAME     1021
#define IDC_SUPPORT_LINK        1022
#define IDC_SELF_EXCLUDE        1024
#define IDC_EXCLUDE_REPLY_TO    1025
#define IDC_REPLACE_VIEW        1032
#define IDC_VIEW_NAME           1034
#define IDC_VIEW_ADDRESS        1035
#define IDC_VIEW_NAME_ADDR      1036
#define IDC_CTRL_NO_EFFECT      1037
#define IDC_INSPECT             1048
#define IDC_DOMAIN_ADD          1054
#define IDC_DOMAIN_EDIT         1055
#define IDC_DOMAIN_DELETE       1056
#define IDC_WORD_LIST           1057
#define IDC_WORD_ADD            1058
#define IDC_WORD_EDIT           1059
#define IDC_WORD_DELETE         1060
#define IDC_DOMAIN_LIST         1061
#define IDC_TOKEN_TEXT          1062
#define IDC_USE_ADDR_BOOK       1063
#define IDC_SINGLE_WARNING      1065
#define IDC_IGNORE_CASE         1066
#define IDC_EMPTY_SUBJECT       1067
#define IDC_CHECK_VERSION       1068
#define IDC_SEND_CHECK_SETTINGS 1069

// The send-check settings dialog (131).
#define IDC_SC_ENABLED          1090
#define IDC_SC_ONLY_OUTSIDE     1091
#define IDC_SC_DOMAIN_LIST      1092
#define IDC_SC_DOMAIN_ADD       1093
#define IDC_SC_DOMAIN_EDIT      1094
#define IDC_SC_DOMAIN_DELETE    1095
#define IDC_SC_MANY_DOMAINS     1096
#define IDC_SC_MANY_RECIPIENTS  1097
#define IDC_SC_BCC_REPLY_ALL    1098
#define IDC_SC_DOMAIN_HINT      1099
#define IDC_SC_MANY_DOMAINS_LABEL    1100
#define IDC_SC_MANY_RECIPIENTS_LABEL 1101
#define IDC_SC_DOMAIN_GROUP     1102

// The send check before a message leaves.
#define IDD_SEND_CHECK              130
#define IDC_SEND_CHECK_INTRO        1070
#define IDC_SEND_CHECK_LIST         1071
#define IDC_SEND_CHECK_WARN_DOMAINS 1072
#define IDC_SEND_CHECK_WARN_VISIBLE 1073
