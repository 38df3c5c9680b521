// Set-up commands: what the simulated host holds before and between calls.
#include <windows.h>

#include "codepage.h"
#include "file_faults.h"
#include "file_ops.h"
#include "host_registry.h"
#include "host_state.h"
#include "host_windows.h"
#include "message_boxes.h"
#include "runner.h"

bool SRunner::SetUp(const SScriptCommand& command, bool* handled) {
    *handled = true;
    const std::string& name = command.name;
    const std::vector<std::string>& args = command.args;
    SHostState& host = TheHost();
    unsigned ansi = AnsiCodePage();
    std::string header, value, text;

    if (name == "lang" || name == "host-without-setstatus") {
        return true;   // chosen before the run started
    }
    if (name == "host-version") return Text(command, args[0], false, ansi, &host.version);
    if (name == "library") {
        libraryName_ = args[0];
        return true;
    }
    if (name == "file" || name == "file-raw") {
        std::string bytes;
        if (!Block(command, name == "file" ? ansi : kUtf8CodePage, false, &bytes)) return false;
        std::string path = Path(args[0]);
        if (!WriteFileBytes(path, bytes)) return ScriptError(command.line, "cannot write " + path);
        return true;
    }
    if (name == "delete") {
        std::string path = Path(args[0]);
        if (!DeletePath(path)) return ScriptError(command.line, "cannot delete " + path);
        return true;
    }
    if (name == "mkdir") {
        std::string path = Path(args[0]);
        if (!CreateFolders(path)) return ScriptError(command.line, "cannot create the folder " + path);
        return true;
    }
    if (name == "lock") {
        std::string path = Path(args[0]);
        if (locks_.count(path)) return ScriptError(command.line, path + " is locked already");
        // Read access and no sharing: the way another program that has the
        // file open keeps everyone else out.
        win32::ScopedFile file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, 0, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return ScriptError(command.line, "cannot lock " + path);
        locks_.emplace(path, std::move(file));
        return true;
    }
    if (name == "unlock") {
        std::string path = Path(args[0]);
        if (!locks_.erase(path)) return ScriptError(command.line, path + " is not locked");
        return true;
    }
    if (IsFileFaultCommand(name)) {
        std::string error;
        if (!RunFileFaultCommand(command, Path(args[0]), &error)) return ScriptError(command.line, error);
        return true;
    }
    if (name == "settings" || name == "settings-beside") {
        std::string section, key, file;
        if (!Text(command, args[0], false, ansi, &section) ||
            !Text(command, args[1], false, ansi, &key) ||
            !Text(command, args[2], false, ansi, &value))
            return false;
        std::string path = SettingsFile(name == "settings-beside");
        if (!Utf8ToCodePage(path, ansi, &file))
            return ScriptError(command.line, "the settings path cannot be written in the code page");
        size_t slash = path.rfind('\\');
        if (!CreateFolders(path.substr(0, slash)) ||
            !WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()))
            return ScriptError(command.line, "cannot write " + path);
        return true;
    }
    if (name == "registry") {
        if (args[0] == "AddrInputFmt") {
            long long number = 0;
            ParseInteger(args[1], &number);
            if (!SetHostDword("AddrInputFmt", static_cast<unsigned long>(number)))
                return ScriptError(command.line, "cannot write the host's registry key");
            return true;
        }
        if (!Text(command, args[1], true, ansi, &value)) return false;
        if (!SetHostString("Citation", value))
            return ScriptError(command.line, "cannot write the host's registry key");
        return true;
    }
    if (name == "mailbox") return Text(command, args[0], false, ansi, &host.mailbox);
    if (name == "folder") return Text(command, args[0], false, ansi, &host.folder);
    if (name == "mail" || name == "compose") {
        SplitNamedValue(args[0], &header, &value);
        std::string headerName, headerValue;
        bool compose = name == "compose";
        if (!Text(command, header, false, ansi, &headerName) ||
            !Text(command, value, true, compose ? HeldCodePage() : ansi, &headerValue))
            return false;
        (compose ? host.compose.headers : host.mail).Set(headerName, headerValue);
        return true;
    }
    if (name == "charset") {
        long long codePage = 0;
        ParseInteger(args[0], &codePage);
        host.compose.SetCodePage(static_cast<unsigned>(codePage));
        return true;
    }
    if (name == "body") {
        std::string mimeType;
        if (!Text(command, args[0], false, ansi, &mimeType) ||
            !Block(command, HeldCodePage(), true, &text))
            return false;
        host.compose.mimeType = mimeType;
        host.compose.text = text;
        host.compose.hasBody = true;
        return true;
    }
    if (name == "no-body") {
        host.compose.hasBody = false;
        host.compose.text.clear();
        return true;
    }
    if (name == "serialize") {
        std::string input, output;
        SplitSerializeRule(args[0], &input, &output);
        SSerializeRule rule;
        if (!Text(command, input, false, ansi, &rule.input)) return false;
        if (output != "NULL") {
            if (!Text(command, output, true, ansi, &text)) return false;
            rule.output = text;
        }
        host.serializeRules.push_back(rule);
        return true;
    }
    if (name == "header-label") {
        if (!Text(command, args[0], false, ansi, &text)) return false;
        SetWindowTextA(host.labelWindow, text.c_str());
        return true;
    }
    if (name == "host-raises") {
        host.raising.insert(args[0]);
        return true;
    }
    if (name == "key") {
        host.ctrlDown = args[1] == "down";
        ApplyKeyState(host.ctrlDown);
        return true;
    }
    if (name == "answer") {
        QueueAnswer(args[0], command.line);
        return true;
    }
    if (name == "window") {
        long long number = 1;
        ParseInteger(args[0], &number);
        host.SelectWindow(static_cast<int>(number) - 1);
        return true;
    }
    if (name == "on-box") {
        SScriptText expanded;
        std::string error;
        if (!ExpandScriptText(args[0], false, paths_, &expanded, &error))
            return ScriptError(command.line, error);
        armed_.push_back({expanded.Utf8(), &command});
        return true;
    }
    if (name == "sleep") {
        long long ms = 0;
        ParseInteger(args[0], &ms);
        PumpMessages(static_cast<DWORD>(ms));
        return true;
    }
    *handled = false;
    return true;
}
