// Extended templates: "$t" and "$c" commands in the compose text, expanded
// into formatted recipient listings and undoable per window.
#pragma once

#include "plugin/host_api.h"

class SExtendTemplate {
public:
    SExtendTemplate();
    virtual ~SExtendTemplate();
    SExtendTemplate(const SExtendTemplate&) = delete;
    SExtendTemplate& operator=(const SExtendTemplate&) = delete;

    // True when at least one command was found and every expansion succeeded.
    bool ExpandTemplates(HostWindow window);
    // True when the remembered commands were written back.
    bool UndoTemplates(HostWindow window);
    // Drops the window's undo entry (the message went out, or a new window
    // took over the handle).
    void ForgetWindow(HostWindow window);
};
