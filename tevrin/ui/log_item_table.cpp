#include "tevrin/ui/log_item_table.h"

#include "tevrin/core/text.h"

namespace tevrin {

const log_item* LogViewItemTable::item(i32 index) const
{
    if (index < 0 || index >= count())
        return nullptr;
    return items_[static_cast<size_t>(index)].get();
}

void LogViewItemTable::add(const log_entry& entry)
{
    if (entry.text.empty())
        return;
    auto added = std::make_unique<log_item>();
    added->text = entry.text;
    added->colourIndex = entry.colourIndex;
    added->rule = entry.rule;
    added->wideText = ToUtf16(entry.text);
    while (!items_.empty() && items_.size() >= maximumCount_)
        items_.pop_front();
    items_.push_back(std::move(added));
}

}  // namespace tevrin
