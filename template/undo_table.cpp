#include "template/undo_table.h"

#include <algorithm>
#include <utility>

#include "common/platform.h"

SExpandData::SExpandData(std::string command, std::string output, size_t start)
    : command_(std::move(command)), output_(std::move(output)) {
    span.start = start;
    span.end = start + output_.size();
}

SExpandData::~SExpandData() = default;

void SUndoTable::DropClosedWindows() {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [](const SWindowEntry& entry) {
                                      return !platform::WindowExists(entry.window);
                                  }),
                   entries_.end());
}

SWindowEntry* SUndoTable::Find(HostWindow window) {
    DropClosedWindows();
    for (SWindowEntry& entry : entries_)
        if (entry.window == window) return &entry;
    return nullptr;
}

SWindowEntry& SUndoTable::FindOrAdd(HostWindow window) {
    if (SWindowEntry* entry = Find(window)) return *entry;
    entries_.emplace_back();
    entries_.back().window = window;
    return entries_.back();
}

void SUndoTable::Remove(HostWindow window) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [window](const SWindowEntry& entry) { return entry.window == window; }),
                   entries_.end());
}

void SUndoTable::Record(HostWindow window, char keyword, std::string command, std::string output,
                        size_t start, size_t oldEnd) {
    SWindowEntry& entry = FindOrAdd(window);
    const std::unique_ptr<SExpandData>& other = keyword == 't' ? entry.cc : entry.to;
    const bool otherFollows = other && other->span.start >= oldEnd;
    AdjustRecords(&entry, start, oldEnd, output.size());
    auto record = std::make_unique<SExpandData>(std::move(command), std::move(output), start);
    record->sequence = ++sequence_;
    record->otherFollows = otherFollows;
    (keyword == 't' ? entry.to : entry.cc) = std::move(record);
}

void AdjustRecords(SWindowEntry* entry, size_t start, size_t oldEnd, size_t newLength) {
    for (std::unique_ptr<SExpandData>* slot : {&entry->to, &entry->cc}) {
        if (*slot && !AdjustSpan(&(*slot)->span, start, oldEnd, newLength)) slot->reset();
    }
}
