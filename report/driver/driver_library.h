#pragma once
// The driver library the report is about: loaded as the main program loads it (or
// from the path given), its entry points looked up one by one so that a missing one
// is reported rather than fatal, and the file it came from described.
#include "report/tree/report_value.h"
#include "tevrin/tablet/tablet_services.h"

#include <string>
#include <vector>

namespace nibscope_report {

class driver_library {
public:
    // Empty requested: "wintab32.dll", found as the main program finds it. Never throws:
    // a failure is kept as the main program's text.
    explicit driver_library(const std::string& requested);

    bool loaded() const { return table_.is_loaded(); }
    const std::string& load_error() const { return loadError_; }
    // The entries the library exports; a missing one stays null.
    const tevrin::tablet_services& table() const { return table_; }
    const std::vector<std::string>& missing_entries() const { return missing_; }
    bool all_entries_present() const { return missing_.empty(); }
    std::string machine() const { return machine_; }

    // The "driver_library" section: the file, its entries, the search path.
    const report_value& section() const { return section_; }

private:
    void look_up_entries();
    std::wstring module_path() const;

    std::string requested_;
    std::string loadError_;
    tevrin::tablet_services table_;
    std::vector<std::string> missing_;
    std::string machine_;
    report_value section_;
};

}  // namespace nibscope_report
