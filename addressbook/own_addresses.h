// The user's own addresses across every mailbox of the host: the
// "MailAddress" of each mailbox's "MailBox.ini" in the data folder.
#pragma once

#include <string>
#include <vector>

// Each own address once (letter case ignored), in the order the folders
// list; a data folder without mailboxes gives none.
std::vector<std::string> ReadOwnAddresses(const char* dataFolder);
