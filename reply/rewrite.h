// Rewriting the recipient headers of a compose window from the address book.
#pragma once

#include <cstddef>

#include "plugin/host_api.h"

// Rewrites To, Cc, Bcc, Resent-To, Resent-Cc, Resent-Bcc; true only when
// every one of the six was written back.
bool RewriteReplyHeaders(HostWindow window);
bool RewriteHeader(HostWindow window, const char* headerName, const char* groupFolder);
// Fills the copy buffer from the header buffer (group entries expanded by
// the host when that option is on).
bool CopyRecipients();
// A group reference typed into the raw header ("@"Book:Folder"") as a folder
// path in out[0..outSize), or nullptr.
char* GroupReferenceFolder(char* out, size_t outSize);
// Every header write goes through here (UTF-8 compose windows convert).
void SetComposeHeader(HostWindow window, const char* headerName, const char* text);
void AddMailerPluginHeader(HostWindow window);
