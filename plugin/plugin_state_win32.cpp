#include "plugin/plugin_state.h"

#include "addressbook/halyard_addr_book.h"
#include "common/version.h"
#include "plugin/lifecycle.h"
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

CallBuffers::CallBuffers(OwnedWorkBuffers& shared) {
    if (!shared.View().Ready()) return;
    if (!shared.lent) {
        shared.lent = true;
        borrowed_ = &shared;
        view_ = shared.View();
    } else if (own_.Allocate()) {
        view_ = own_.View();
    }
}

CallBuffers::~CallBuffers() {
    if (borrowed_) borrowed_->lent = false;
}

PluginState::PluginState() : gate([] { ExitPlugin(); }) {}

PluginState::~PluginState() = default;

Work PluginState::MakeWork(const CallBuffers& callBuffers) {
    Work work{host, settings.get(), addrBook.get(), callBuffers.View(), &addrBookChanges, "", ""};
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
