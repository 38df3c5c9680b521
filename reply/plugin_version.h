// The plug-in's own file description and file version, from the version
// record of the language block in use; "" when there is none.
#pragma once

const char* PluginFileDescription();
const char* PluginFileVersion();

#if !defined(_WIN32)
// The native build has no version resource; tests say what it would hold.
void SetPluginVersionTexts(const char* description, const char* version);
#endif
