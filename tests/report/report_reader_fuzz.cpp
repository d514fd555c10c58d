// libFuzzer target of --compare's reader (tools/fuzz-report): any bytes are read into a
// tree or refused with a report_input_error; anything else (a crash, another exception,
// a sanitizer's finding) is a fault. Seeds: tests/report/report_json_corpus.
#include "report/compare/report_reader.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        nibscope_report::read_report_json("fuzz.json", std::string(reinterpret_cast<const char*>(data), size));
    } catch (const nibscope_report::report_input_error&) {
    }
    return 0;
}
