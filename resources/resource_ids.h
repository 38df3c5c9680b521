// Identifiers of the resources that are not string-table entries.
#pragma once

#define IDB_REPLY       108
#define IDB_REPLY_ALL   113
#define IDI_HALYARD     122
