#include "report/driver/driver_queries.h"

#include "tevrin/tablet/tablet_services.h"

#include <algorithm>
#include <cstring>
#include <cstring>

namespace nibscope_report {
namespace {

using tevrin::DVC_NAME;
using tevrin::WTI_DEVICES;

constexpr size_t guard_size = 64;
constexpr BYTE guard_byte = 0xA5;

}  // namespace

std::optional<std::vector<BYTE>> driver_queries::bytes(UINT category, UINT index)
{
    const UINT announced = info_(category, index, nullptr);
    if (announced == 0)
        return std::nullopt;
    std::vector<BYTE> buffer(announced + guard_size, guard_byte);
    const UINT written = info_(category, index, buffer.data());
    if (written != announced)
        findings_.push_back({size_check, category, index, "announced " + std::to_string(announced) + " bytes but answered " +
                                                  std::to_string(written) + " when filling"});
    if (std::any_of(buffer.begin() + announced, buffer.end(), [](BYTE b) { return b != guard_byte; }))
        findings_.push_back({size_check, category, index, "wrote past the " + std::to_string(announced) + " bytes it announced"});
    buffer.resize(std::min(announced, written ? written : announced));
    return buffer;
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
