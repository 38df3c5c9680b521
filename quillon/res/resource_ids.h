// Resource numbers of Quillon32.dll (English and Japanese tables carry the
// same numbers). Included by the resource script and the C++ code.
#pragma once

#define IDD_PROGRESS 100
#define IDC_STATUS 1001
#define IDC_PROGRESS_BAR 1002
#define IDC_DETAIL 1003

#define IDS_CAPTION 1
#define IDS_LATEST 2
#define IDS_AVAILABLE 3
#define IDS_NOT_HTTPS 4
#define IDS_UNREACHABLE 5
#define IDS_INVALID 6
#define IDS_UNSIGNED 7
#define IDS_MISMATCH 8
#define IDS_STARTED 9
#define IDS_HTTP_STATUS 10
#define IDS_TOO_MANY_REDIRECTS 11
#define IDS_SYSTEM_ERROR 12
#define IDS_CANNOT_SAVE 13
#define IDS_CANNOT_START 14
#define IDS_DOWNLOADING 16
#define IDS_CANCELLING 17
#define IDS_PROGRESS_OF 18
#define IDS_PROGRESS_SO_FAR 19
#define IDS_NOT_FETCHED 20      // the server answered, but not with the announcement
#define IDS_NOTES_FIELD 21      // the announcement field of the release notes in this language
