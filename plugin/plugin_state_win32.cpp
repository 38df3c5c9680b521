#include "plugin/plugin_state.h"

#include "addressbook/halyard_addr_book.h"
#include "common/version.h"
#include "settings/settings.h"
#include "template/extend_template.h"

bool OwnedWorkBuffers::Allocate() {
    win32::ScopedGlobalMem newHeader = win32::ScopedGlobalMem::AllocFixed(kListSize);
    win32::ScopedGlobalMem newCopy = win32::ScopedGlobalMem::AllocFixed(kListSize);
    win32::ScopedGlobalMem newResult = win32::ScopedGlobalMem::AllocFixed(kListSize);
    if (!newHeader || !newCopy || !newResult) return false;
    header = std::move(newHeader);
    copy = std::move(newCopy);
    result = std::move(newResult);
    return true;
}

void OwnedWorkBuffers::Free() {
    result.Reset();
    copy.Reset();
    header.Reset();
}

PluginState::PluginState() = default;

PluginState::~PluginState() = default;

Work PluginState::MakeWork() {
    Work work{host, settings.get(), addrBook.get(), buffers.View(), &addrBookChanges, "", ""};
    work.replyOrigins = &replyOrigins;
    if (version) {
        work.fileDescription = version->Text(VersionText::FileDescription);
        work.fileVersion = version->Text(VersionText::FileVersion);
    }
    return work;
}

PluginState& Plugin() {
    static PluginState state;
    return state;
}
