#include "plugin_library.h"

#include "file_faults.h"

namespace {

template <typename T>
void Bind(HMODULE module, const char* name, T* function) {
    *function = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool SPluginLibrary::Load(const std::string& ansiPath) {
    Unload();
    module_ = LoadLibraryA(ansiPath.c_str());
    if (!module_) return false;
    InterceptFileCalls(module_);
    Bind(module_, "BKC_OnStart", &exports_.OnStart);
    Bind(module_, "BKC_OnExit", &exports_.OnExit);
    Bind(module_, "BKC_OnMenuInit", &exports_.OnMenuInit);
    Bind(module_, "BKC_OnOpenFolder", &exports_.OnOpenFolder);
    Bind(module_, "BKC_OnOpenMail", &exports_.OnOpenMail);
    Bind(module_, "BKC_OnEveryMinute", &exports_.OnEveryMinute);
    Bind(module_, "BKC_OnOpenCompose", &exports_.OnOpenCompose);
    Bind(module_, "BKC_OnOutgoing", &exports_.OnOutgoing);
    Bind(module_, "BKC_OnKeyDispatch", &exports_.OnKeyDispatch);
    Bind(module_, "BKC_OnRetrieve", &exports_.OnRetrieve);
    Bind(module_, "BKC_OnSend", &exports_.OnSend);
    Bind(module_, "BKC_OnFinishRetrieve", &exports_.OnFinishRetrieve);
    Bind(module_, "BKC_OnPlugInSetup", &exports_.OnPlugInSetup);
    Bind(module_, "BKC_OnPlugInInfo", &exports_.OnPlugInInfo);
    Bind(module_, "BKC_OnDragDrop", &exports_.OnDragDrop);
    Bind(module_, "BKC_OnBeforeFilter", &exports_.OnBeforeFilter);
    return true;
}

void SPluginLibrary::Unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
    exports_ = SPluginExports();
}
