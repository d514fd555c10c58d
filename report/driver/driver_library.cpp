#include "report/driver/driver_library.h"

#include "report/driver/library_survey.h"
#include "tevrin/core/exception.h"
#include "tevrin/core/text.h"

namespace nibscope_report {
namespace {

const char* const wide_entries[] = {"WTInfoW", "WTOpenW", "WTGetW", "WTSetW"};

template <typename Entry>
bool look_up(const tevrin::dynamic_code_library& library, const char* name, Entry& entry)
{
    try {
        entry = reinterpret_cast<Entry>(library.get_function(name));
        return true;
    } catch (const tevrin::function_not_found&) {
        return false;
    }
}

}  // namespace

driver_library::driver_library(const std::string& requested)
    : requested_(requested.empty() ? "wintab32.dll" : requested)
{
    try {
        table_.library.load(requested_.c_str());
    } catch (const char* text) {
        loadError_ = text;
    } catch (const tevrin::exception& failure) {
        loadError_ = failure.what();
    }
    section_ = report_value::object().set("requested", requested_).set("loaded", loaded());
    if (!loaded())
        section_.set("load_error", loadError_);
    // A library that did not load is still described when its file is known.
    const std::wstring path = loaded() ? module_path() : requested.empty() ? std::wstring() : tevrin::ToUtf16(requested);
    if (!path.empty()) {
        const report_value file = describe_library_file(path);
        for (const auto& entry : file.entries())
            section_.set(entry.first, entry.second);
        machine_ = file.get("machine").is_null() ? std::string() : file.get("machine").text();
    }
    if (loaded())
        look_up_entries();
    section_.set("search_path", survey_search_path(path));
    section_.set("wintab32_32bit", describe_32bit_library());
}

void driver_library::look_up_entries()
{
    tevrin::tablet_services& t = table_;
    const struct {
        const char* name;
        bool found;
    } required[] = {{"WTInfoA", look_up(t.library, "WTInfoA", t.WTInfoA)},
                    {"WTOpenA", look_up(t.library, "WTOpenA", t.WTOpenA)},
                    {"WTClose", look_up(t.library, "WTClose", t.WTClose)},
                    {"WTQueueSizeSet", look_up(t.library, "WTQueueSizeSet", t.WTQueueSizeSet)},
                    {"WTPacketsGet", look_up(t.library, "WTPacketsGet", t.WTPacketsGet)},
                    {"WTPacketsPeek", look_up(t.library, "WTPacketsPeek", t.WTPacketsPeek)},
                    {"WTGetA", look_up(t.library, "WTGetA", t.WTGetA)},
                    {"WTOverlap", look_up(t.library, "WTOverlap", t.WTOverlap)}};
    report_value missing = report_value::list();
    for (const auto& entry : required)
        if (!entry.found) {
            missing_.push_back(entry.name);
            missing.add(entry.name);
        }
    report_value wide = report_value::list();
    for (const char* name : wide_entries) {
        tevrin::code_address address = nullptr;
        if (look_up(t.library, name, address))
            wide.add(name);
    }
    section_.set("missing_entries", missing).set("wide_entries", wide);
}

std::wstring driver_library::module_path() const
{
    wchar_t path[MAX_PATH * 4];
    const DWORD length =
        GetModuleFileNameW(static_cast<HMODULE>(table_.library.native_handle()), path, MAX_PATH * 4);
    return std::wstring(path, length);
}

}  // namespace nibscope_report
