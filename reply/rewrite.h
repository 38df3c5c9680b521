// Rewriting the recipient headers of a compose window from the address book.
#pragma once

#include <cstddef>

#include "host/work.h"

// Rewrites To, Cc, Bcc, Resent-To, Resent-Cc, Resent-Bcc; true only when
// every one of the six was written back.
bool RewriteReplyHeaders(const Work& work, HostWindow window);
bool RewriteHeader(const Work& work, HostWindow window, const char* headerName,
                   const char* groupFolder);
// Fills the copy buffer from the header buffer (group entries expanded by
// the host when that option is on).
bool CopyRecipients(const Work& work);
// A group reference typed into the raw header ("@"Book:Folder"") as a folder
// path in out[0..outSize), or nullptr.
char* GroupReferenceFolder(const Work& work, char* out, size_t outSize);
// Marks the message with the plug-in's name and version in X-Mailer-Plugin.
void AddMailerPluginHeader(const Work& work, HostWindow window);
