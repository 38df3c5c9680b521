// The plug-in's help page in the user's language: the page shipped beside
// the library when it is there, else the maker's web page.
#pragma once

#include <string>

// The local page (string table, relative to the library's folder) when that
// file exists, else the web address.
std::string HelpPageAddress();

// Opens HelpPageAddress() with the system's default handler; says so when
// it cannot.
void OpenHelpPage(void* owner);
