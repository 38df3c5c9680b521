// Opens the plug-in's online help page in the user's language with the
// system's default handler; says so when it cannot.
#pragma once

void OpenHelpPage(void* owner);
