#pragma once
// The lines of the log pane: tevrin::ILogItemTable and its bounded implementation.
#include "tevrin/core/types.h"

#include <deque>
#include <memory>
#include <string>

namespace tevrin {

struct log_item {
    std::string text;  // one line, without its line break
    i32 colourIndex = 0;
    bool rule = false;  // drawn as a horizontal rule instead of text
    std::wstring wideText;
};

struct log_entry {
    std::string text;
    i32 colourIndex = 0;
    bool rule = false;
};

class ILogItemTable {
public:
    virtual ~ILogItemTable() = default;
    virtual i32 count() const = 0;
    // Counted from the oldest; null outside 0 .. count - 1.
    virtual const log_item* item(i32 index) const = 0;
    virtual void add(const log_entry& entry) = 0;
    virtual void clear() = 0;
};

// Keeps at most maximumCount items, dropping the oldest first.
class LogViewItemTable : public ILogItemTable {
public:
    explicit LogViewItemTable(u64 maximumCount) : maximumCount_(maximumCount) {}

    i32 count() const override { return static_cast<i32>(items_.size()); }
    const log_item* item(i32 index) const override;
    // Empty texts are not kept. Throws the conversion message for invalid UTF-8.
    void add(const log_entry& entry) override;
    void clear() override { items_.clear(); }

    u64 maximum_count() const { return maximumCount_; }

private:
    std::deque<std::unique_ptr<log_item>> items_;
    u64 maximumCount_;
};

}  // namespace tevrin
