// Numbers of the string table entries (English and Japanese tables carry
// the same numbers).
#pragma once

constexpr unsigned kStrCannotOpenFile = 1;
constexpr unsigned kStrFileTooLarge = 2;
constexpr unsigned kStrNoMemoryForReport = 3;
constexpr unsigned kStrCannotReadFile = 4;
constexpr unsigned kStrCannotWriteFile = 5;
constexpr unsigned kStrFileFilter = 6;
constexpr unsigned kStrChooserTitle = 7;
constexpr unsigned kStrDialogTitle = 8;
constexpr unsigned kStrSupportAddress = 9;
constexpr unsigned kStrHelp = 10;
constexpr unsigned kStrHelpPage = 11;          // the page in the user's language
constexpr unsigned kStrSenderLabel = 12;
constexpr unsigned kStrErrorCaption = 13;
constexpr unsigned kStrNoVersionInfo = 14;
constexpr unsigned kStrNoAddressBook = 15;
constexpr unsigned kStrNoSettings = 16;
constexpr unsigned kStrReply = 17;
constexpr unsigned kStrReplyAll = 18;
constexpr unsigned kStrTemplateErrorCaption = 20;   // the template engine's boxes
constexpr unsigned kStrDefaultAttachWords = 21;
constexpr unsigned kStrAttachWarning = 22;
constexpr unsigned kStrAttachCaption = 23;
constexpr unsigned kStrNoMemoryForWork = 24;
constexpr unsigned kStrExtendTemplate = 25;
constexpr unsigned kStrUndoTemplate = 26;
constexpr unsigned kStrSupportSubject = 27;
constexpr unsigned kStrUpdaterMissing = 29;
constexpr unsigned kStrCannotOpenHelp = 30;
constexpr unsigned kStrConfirmDelete = 31;
constexpr unsigned kStrConfirmCaption = 32;
constexpr unsigned kStrEditTokenTitle = 33;
constexpr unsigned kStrSingleReplyText = 34;
constexpr unsigned kStrSingleReplyCaption = 35;
constexpr unsigned kStrSubjectWarning = 36;
constexpr unsigned kStrSubjectCaption = 37;
constexpr unsigned kStrUpdateCaption = 38;
constexpr unsigned kStrLocalHelpPage = 39;    // beside the library, in the user's language
constexpr unsigned kStrTemplateEdited = 40;   // undo finds the expanded listing changed
constexpr unsigned kStrSettingsNotSaved = 50;   // the save left the file as it was
constexpr unsigned kStrSettingsNotCopied = 51;  // the per-user copy failed
constexpr unsigned kStrBlindCopyText = 65;      // a reply to all would reveal a blind copy
constexpr unsigned kStrBlindCopyCaption = 66;
// The send check. The column titles are one text: "Name|Header|Address|Note|"
// and the title of the trusted domains' group, split at "|".
constexpr unsigned kStrSendCheckColumns = 60;
constexpr unsigned kStrSendCheckNotListed = 61;   // in place of a name
constexpr unsigned kStrSendCheckNew = 62;         // a domain new to the conversation
constexpr unsigned kStrSendCheckManyDomains = 63; // %d: outside domains in To and Cc
constexpr unsigned kStrSendCheckManyVisible = 64; // %d: addresses in To and Cc
