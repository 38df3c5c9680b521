// Extended templates: "$t" and "$c" commands in the compose text, expanded
// into formatted recipient listings and undoable per window.
#pragma once

#include <cstddef>
#include <vector>

#include "host/work.h"
#include "template/expand_addresses.h"
#include "template/text_span.h"
#include "template/undo_table.h"

struct SComposeText;
struct STemplateCommand;

class SExtendTemplate {
public:
    SExtendTemplate();
    virtual ~SExtendTemplate();
    SExtendTemplate(const SExtendTemplate&) = delete;
    SExtendTemplate& operator=(const SExtendTemplate&) = delete;

    // True when at least one command was found and every expansion succeeded.
    bool ExpandTemplates(const Work& work, HostWindow window);
    // True when the remembered commands were written back.
    bool UndoTemplates(const HostApi& host, HostWindow window);
    // Drops the window's undo entry (the message went out, or a new window
    // took over the handle).
    void ForgetWindow(HostWindow window);

    // Windows with an undo entry.
    size_t UndoEntryCount() const { return undo_.Size(); }

private:
    // Expands the command at [start, end) of the body and writes the new
    // text to the window; *outputLength receives the length of its output.
    bool ExpandOne(const Work& work, HostWindow window, SComposeText* body,
                   const STemplateCommand& command,
                   size_t start, size_t end, const CardLookup& lookup, size_t* outputLength);

    SUndoTable undo_;
};
