#include "report/driver/driver_queries.h"

#include "tevrin/core/text.h"
#include "tevrin/tablet/guarded_reads.h"
#include "tevrin/tablet/tablet_services.h"

#include <algorithm>
#include <cstddef>

namespace nibscope_report {
namespace {

using tevrin::DVC_NAME;
using tevrin::WTI_DEVICES;

std::string bytes_text(size_t count)
{
    return std::to_string(count) + " bytes";
}

}  // namespace

// An announcement above the cap is read as no announcement: a text then gets the
// device name's room, a record its published size.
std::optional<std::vector<BYTE>> driver_queries::bytes(UINT category, UINT index, size_t published)
{
    const UINT announced = info_(category, index, nullptr);
    if (announced == 0)
        return std::nullopt;
    const bool capped = announced > tevrin::announced_size_cap;
    if (capped)
        findings_.push_back({size_cap_check, category, index, bytes_text(announced)});
    const size_t room = capped ? std::max(published, tevrin::device_name_read_size) : announced;
    const tevrin::guarded_read read =
        tevrin::fill_guarded(nullptr, 0, room, [&](void* buffer) { return info_(category, index, buffer); });
    const UINT written = read.answered;
    if (!capped && written != announced)
        findings_.push_back({size_check, category, index, "announced " + bytes_text(announced) + " but answered " +
                                                  std::to_string(written) + " when filling"});
    if (!capped && read.wrote_past_room())
        findings_.push_back({size_check, category, index, "wrote past the " + bytes_text(announced) + " it announced"});
    if (published > 0 && read.written_end() > published)
        findings_.push_back({record_size_check, category, index, "wrote " + bytes_text(read.written_end()) +
                                                         " into its record of " + bytes_text(published)});
    std::vector<BYTE> answer(read.buffer.begin(), read.buffer.begin() + static_cast<std::ptrdiff_t>(room));
    answer.resize(std::min(room, written ? size_t{written} : room));
    return answer;
}

std::optional<std::string> driver_queries::text(UINT category, UINT index)
{
    const auto answer = bytes(category, index);
    if (!answer)
        return std::nullopt;
    const auto end = std::find(answer->begin(), answer->end(), BYTE(0));
    if (end == answer->end())
        findings_.push_back({terminator_check, category, index, "left the text unterminated within its " +
                                                  std::to_string(answer->size()) + " bytes"});
    return tevrin::ansi_to_utf8(std::string(answer->begin(), end));
}

std::optional<std::vector<std::string>> driver_queries::texts(UINT category, UINT index)
{
    const auto answer = bytes(category, index);
    if (!answer)
        return std::nullopt;
    std::vector<std::string> list;
    auto start = answer->begin();
    while (start != answer->end() && *start != 0) {
        const auto end = std::find(start, answer->end(), BYTE(0));
        list.push_back(tevrin::ansi_to_utf8(std::string(start, end)));
        if (end == answer->end()) {
            findings_.push_back({terminator_check, category, index, "left the last text of the list unterminated"});
            break;
        }
        start = end + 1;
    }
    return list;
}

std::string driver_queries::device_name(UINT device)
{
    const UINT announced = info_(WTI_DEVICES + device, DVC_NAME, nullptr);
    const std::string name = tevrin::ansi_to_utf8(tevrin::read_device_name_in_ansi(info_, device));
    if (announced == 0 && !name.empty())
        quirks_.push_back({name_size_check, WTI_DEVICES + device, DVC_NAME, "answered 0 to the size query but filled the name"});
    else if (announced > 0)
        text(WTI_DEVICES + device, DVC_NAME);  // for its findings
    return name;
}

}  // namespace nibscope_report
