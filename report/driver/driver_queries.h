#pragma once
// The driver's information queries, each asked twice as the interface intends: once
// for the size, once with a buffer of that size. Guard bytes follow every buffer, so
// a driver that writes past the size it announced or past a record's published size,
// answers a different size when filling, announces an absurd size, or leaves a text
// unterminated is caught and remembered for the checks.
#include "tevrin/tablet/wintab.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace nibscope_report {

struct query_finding {
    const char* check;  // the id of the check it fails or warns in
    UINT category;
    UINT index;
    std::string problem;  // what the driver did, to follow "WTInfoA(category, index) "
};

constexpr const char* size_check = "query-sizes";
constexpr const char* terminator_check = "texts-terminated";
constexpr const char* name_size_check = "device-name-size";
constexpr const char* record_size_check = "record-sizes";
constexpr const char* size_cap_check = "size-cap";

class driver_queries {
public:
    explicit driver_queries(tevrin::WTInfoA_entry info) : info_(info) {}

    // WTInfoA(0, 0, NULL) is not 0: the interface is there.
    bool interface_answers() const { return info_(0, 0, nullptr) != 0; }

    // The bytes the driver wrote; nothing when it answers the size query with 0.
    // published: the record's size by the interface, 0 for texts.
    std::optional<std::vector<BYTE>> bytes(UINT category, UINT index, size_t published = 0);

    // A fixed-size record; shorter answers are padded with zeros.
    template <typename Record>
    std::optional<Record> record(UINT category, UINT index)
    {
        const auto answer = bytes(category, index, sizeof(Record));
        if (!answer)
            return std::nullopt;
        Record value = {};
        std::memcpy(&value, answer->data(), answer->size() < sizeof value ? answer->size() : sizeof value);
        return value;
    }

    // A text in the ANSI code page, as UTF-8, cut at its first terminator.
    std::optional<std::string> text(UINT category, UINT index);
    // A list of texts, each terminated, ended by an empty one (button names).
    std::optional<std::vector<std::string>> texts(UINT category, UINT index);

    // The device name read as the main program reads it; remembers a size query
    // that answers 0 although the name is there.
    std::string device_name(UINT device);

    void add_finding(const query_finding& finding) { findings_.push_back(finding); }
    const std::vector<query_finding>& findings() const { return findings_; }
    const std::vector<query_finding>& quirks() const { return quirks_; }

private:
    tevrin::WTInfoA_entry info_;
    std::vector<query_finding> findings_;  // broken promises: FAIL
    std::vector<query_finding> quirks_;    // allowed but unhelpful: WARN
};

}  // namespace nibscope_report
