// What "Undo extend template" needs: per compose window, the last expansion
// of each keyword.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/host_api.h"
#include "template/text_span.h"

// One expansion: the command text it replaced, where its output lies in the
// compose text, and the output itself to recognise it again.
class SExpandData {
public:
    SExpandData(std::string command, std::string output, size_t start);
    virtual ~SExpandData();
    SExpandData(const SExpandData&) = delete;
    SExpandData& operator=(const SExpandData&) = delete;

    const std::string& Command() const { return command_; }
    const std::string& Output() const { return output_; }
    STextSpan span;          // the output in the current compose text
    uint64_t sequence = 0;   // order of the expansions, for undoing them backwards
    // The other keyword's record lay after this output when it was written.
    // Two outputs that are both empty at one place tell their order by this
    // alone.
    bool otherFollows = false;

private:
    std::string command_;
    std::string output_;
};

struct SWindowEntry {
    HostWindow window = nullptr;
    std::unique_ptr<SExpandData> to;
    std::unique_ptr<SExpandData> cc;
};

class SUndoTable {
public:
    // The window's entry or nullptr. Entries of windows that no longer exist
    // are dropped first: their handles may be reused by new windows.
    SWindowEntry* Find(HostWindow window);
    // The window's entry, a new one at the end when it has none.
    SWindowEntry& FindOrAdd(HostWindow window);
    void Remove(HostWindow window);
    size_t Size() const { return entries_.size(); }

    // Records an expansion of text[start, oldEnd) in the window: the other
    // records move with the text; the slot's earlier record is replaced.
    void Record(HostWindow window, char keyword, std::string command, std::string output,
                size_t start, size_t oldEnd);

private:
    void DropClosedWindows();

    std::vector<SWindowEntry> entries_;
    uint64_t sequence_ = 0;
};

// Moves the entry's records as the text at [start, oldEnd) becomes
// newLength characters; a record whose output was cut into is dropped.
void AdjustRecords(SWindowEntry* entry, size_t start, size_t oldEnd, size_t newLength);
