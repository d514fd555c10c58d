// Prints what a flood of user-log lines queued between two idle passes costs: queueing
// them, draining them into a real log pane on a real window (with the pane's repaints),
// and the memory the process keeps afterwards. Each flood is drained twice, side by
// side: line by line, each line appended, scrolled and repainted on its own (as the
// pane did before), and as the program's idle pass drains it now, the whole queue
// taken at once and shown once. While the batched drain runs, another thread logs a
// line every millisecond and its waits are timed. A small flood that just fills the
// pane to its line limit, followed by a large one, shows whether the memory stays
// bounded by the limit. Then the two platform calls that the pane makes for every line
// shown on its own are timed alone. Figures only; the program fails only when the pane
// did not end up holding what the flood should have left in it.
//   log_flood_benchmark [LINES_OF_FIRST_FLOOD LINES_OF_SECOND_FLOOD ...]   (default 2000 100000)
#include "host_window.h"
#include "line_by_line_sink.h"
#include "message_pump.h"
#include "process_memory.h"
#include "sample_statistics.h"
#include "stopwatch.h"

#include "tevrin/core/diagnostics.h"
#include "tevrin/ui/log_view.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using nibscope_benchmark::Mebibytes;
using nibscope_benchmark::ProcessMemory;
using nibscope_benchmark::Stopwatch;

// The main window's figures: its minimum client area and where the log pane sits in it.
constexpr int hostClientWidth = 721;
constexpr int hostClientHeight = 640;
constexpr int logPaneTop = 432;
constexpr tevrin::u64 logLineLimit = 1000;

// The real pane, with its paints counted and timed on the way through.
class CountingLogView : public tevrin::LogView {
public:
    CountingLogView() : LogView(logLineLimit) {}

    bool HandlePaintEvent(tevrin::GraphicsContext& gc, const RECT& dirty) override
    {
        const Stopwatch paintTime;
        const bool handled = LogView::HandlePaintEvent(gc, dirty);
        paintMicroseconds += paintTime.ElapsedMicroseconds();
        ++paints;
        return handled;
    }

    long paints = 0;
    double paintMicroseconds = 0.0;
};

struct FloodFigures {
    bool lineByLine = false;
    long oneByOne = 0;  // lines appended one by one within the budget
    double oneByOneMilliseconds = 0.0;
    std::vector<double> otherThreadWaits;  // microseconds, batched drain only
    double queueMilliseconds = 0.0;
    double drainMilliseconds = 0.0;
    double leftoverPaintMilliseconds = 0.0;
    long paints = 0;
    double paintMilliseconds = 0.0;
    ProcessMemory before;
    ProcessMemory queued;
    ProcessMemory after;
};

void QueueLines(int lines, int flood)
{
    for (int line = 0; line < lines; ++line)
        tevrin::log_line("Flood %d line %06d: Pressure: %d%%", flood, line, line % 101);
}

// The pane must hold exactly the newest lines of the flood and still show the newest.
void CheckPaneAfterFlood(const CountingLogView& pane, int lines, int flood)
{
    const tevrin::ILogItemTable& table = *pane.GetTable();
    const int expectedCount = lines < static_cast<int>(logLineLimit) ? lines : static_cast<int>(logLineLimit);
    if (table.count() != expectedCount)
        throw std::runtime_error("the pane holds " + std::to_string(table.count()) + " lines, expected " +
                                 std::to_string(expectedCount));
    char newest[96];
    std::snprintf(newest, sizeof newest, "Flood %d line %06d: Pressure: %d%%", flood, lines - 1, (lines - 1) % 101);
    if (table.item(table.count() - 1)->text != newest)
        throw std::runtime_error("the newest line in the pane is not the flood's last line");
    if (pane.GetTopItem() + pane.VisibleRows() - 1 < table.count() - 1)
        throw std::runtime_error("the pane stopped following the newest line: top " + std::to_string(pane.GetTopItem()) +
                                 ", " + std::to_string(pane.VisibleRows()) + " visible rows, " +
                                 std::to_string(table.count()) + " lines");
    if (tevrin::pending_log_line_count() != 0)
        throw std::runtime_error("lines are still queued after the drain");
}

// Line by line, a large flood takes an hour on a loaded machine: after this long the
// rest of it is added at once, and the whole is extrapolated from the lines done.
constexpr double lineByLineBudgetMilliseconds = 120000.0;

// The sink the drain hands the queue to: the pane itself, or the pane line by line.
// It tells when the drain has taken the queue, for the thread that logs meanwhile.
class FloodSink : public tevrin::ILogLineSink {
public:
    FloodSink(tevrin::LogView& pane, bool lineByLine) : pane_(pane), lineByLine_(lineByLine) {}
    void AddLine(const std::string& text, tevrin::u32 kind, tevrin::u32 extra) override
    {
        pane_.AddLine(text, kind, extra);
    }
    void AddLines(const tevrin::queued_log_lines& lines) override
    {
        taken = true;
        if (!lineByLine_) {
            pane_.AddLines(lines);
            return;
        }
        const Stopwatch spent;
        tevrin::queued_log_lines rest;
        for (const tevrin::queued_log_line& line : lines) {
            if (rest.empty() && spent.ElapsedMilliseconds() < lineByLineBudgetMilliseconds) {
                pane_.AddLine(line.text, line.kind, line.extra);
                ++oneByOne;
                oneByOneMilliseconds = spent.ElapsedMilliseconds();
            } else {
                rest.push_back(line);
            }
        }
        if (!rest.empty())
            pane_.AddLines(rest);
    }

    std::atomic<bool> taken{false};
    long oneByOne = 0;
    double oneByOneMilliseconds = 0.0;

private:
    tevrin::LogView& pane_;
    bool lineByLine_;
};

// Logs a line every millisecond from its own thread once the drain has taken the
// queue, and times each call.
class OtherThreadLogger {
public:
    explicit OtherThreadLogger(const std::atomic<bool>& start) : start_(start), thread_([this] { Run(); }) {}
    std::vector<double> Stop()
    {
        stop_ = true;
        thread_.join();
        return waits_;
    }

private:
    void Run()
    {
        while (!start_ && !stop_)
            Sleep(0);
        while (!stop_) {
            const Stopwatch wait;
            tevrin::log_line("Another thread logs during the drain");
            waits_.push_back(wait.ElapsedMicroseconds());
            Sleep(1);
        }
    }

    const std::atomic<bool>& start_;
    std::atomic<bool> stop_{false};
    std::vector<double> waits_;
    std::thread thread_;
};

class DiscardingSink : public tevrin::ILogLineSink {
public:
    void AddLine(const std::string&, tevrin::u32, tevrin::u32) override {}
};

FloodFigures RunFlood(CountingLogView& pane, int lines, int flood, bool lineByLine)
{
    FloodFigures figures;
    figures.lineByLine = lineByLine;
    pane.paints = 0;
    pane.paintMicroseconds = 0.0;
    figures.before = nibscope_benchmark::CurrentProcessMemory();

    Stopwatch stopwatch;
    QueueLines(lines, flood);
    figures.queueMilliseconds = stopwatch.ElapsedMilliseconds();
    figures.queued = nibscope_benchmark::CurrentProcessMemory();

    // What the main window's idle pass does, then the paints that are still due.
    FloodSink sink(pane, lineByLine);
    std::unique_ptr<OtherThreadLogger> other;
    if (!lineByLine)
        other = std::make_unique<OtherThreadLogger>(sink.taken);
    stopwatch.Restart();
    tevrin::drain_log_lines(&sink);
    pane.ShowNewLines();
    figures.drainMilliseconds = stopwatch.ElapsedMilliseconds();
    stopwatch.Restart();
    nibscope_benchmark::PumpPendingMessages();
    figures.leftoverPaintMilliseconds = stopwatch.ElapsedMilliseconds();
    if (other) {
        figures.otherThreadWaits = other->Stop();
        DiscardingSink discard;  // its lines are not part of the flood
        tevrin::drain_log_lines(&discard);
    }

    figures.oneByOne = sink.oneByOne;
    figures.oneByOneMilliseconds = sink.oneByOneMilliseconds;
    figures.after = nibscope_benchmark::CurrentProcessMemory();
    figures.paints = pane.paints;
    figures.paintMilliseconds = pane.paintMicroseconds / 1000.0;
    CheckPaneAfterFlood(pane, lines, flood);
    return figures;
}

void PrintMemoryRow(const char* label, std::uint64_t before, std::uint64_t queued, std::uint64_t after)
{
    if (before == 0 && queued == 0 && after == 0) {
        std::printf("  %-14s not reported by the system (Wine 8 leaves it at 0)\n", label);
        return;
    }
    std::printf("  %-14s before %8.2f MiB  queued %8.2f MiB  after %8.2f MiB\n", label, Mebibytes(before),
                Mebibytes(queued), Mebibytes(after));
}

void PrintFlood(int flood, int lines, const FloodFigures& f)
{
    std::printf("flood %d: %d lines, %s\n", flood, lines,
                f.lineByLine ? "drained line by line (before)" : "drained at once and shown once (now)");
    std::printf("  queue (log_line)          %10.1f ms  %8.2f us/line\n", f.queueMilliseconds,
                1000.0 * f.queueMilliseconds / lines);
    std::printf("  drain into the pane       %10.1f ms  %8.2f us/line  (%ld paints, %.1f ms in them, %.1f us each)\n",
                f.drainMilliseconds, 1000.0 * f.drainMilliseconds / lines, f.paints, f.paintMilliseconds,
                f.paints ? 1000.0 * f.paintMilliseconds / static_cast<double>(f.paints) : 0.0);
    if (f.lineByLine && f.oneByOne < lines)
        std::printf("  of which line by line     %10.1f ms  %8.2f us/line  for the first %ld lines; all %d would take "
                    "%.1f s, the rest were added at once\n",
                    f.oneByOneMilliseconds, 1000.0 * f.oneByOneMilliseconds / f.oneByOne, f.oneByOne, lines,
                    f.oneByOneMilliseconds / f.oneByOne * lines / 1000.0);
    std::printf("  paints still due after    %10.1f ms\n", f.leftoverPaintMilliseconds);
    std::printf("  drained and painted       %10.1f ms\n", f.drainMilliseconds + f.leftoverPaintMilliseconds);
    std::printf("  first line to painted     %10.1f ms\n",
                f.queueMilliseconds + f.drainMilliseconds + f.leftoverPaintMilliseconds);
    if (!f.otherThreadWaits.empty()) {
        const nibscope_benchmark::SampleSummary waits = nibscope_benchmark::Summarise(f.otherThreadWaits);
        std::printf("  another thread's log_line during the drain: %zu calls, median %.1f us, p99 %.1f us, max %.1f us\n",
                    waits.count, waits.median, waits.percentile99, waits.maximum);
    }
    PrintMemoryRow("heap in use", f.before.heapInUse, f.queued.heapInUse, f.after.heapInUse);
    PrintMemoryRow("working set", f.before.workingSet, f.queued.workingSet, f.after.workingSet);
    PrintMemoryRow("private bytes", f.before.privateBytes, f.queued.privateBytes, f.after.privateBytes);
}

// The calls that Append makes for a line shown on its own after storing it: the scroll-bar update
// (SetScrollInfo with redraw) and the immediate repaint (invalidate, UpdateWindow).
void PrintPerLineCalls(CountingLogView& pane, int repetitions)
{
    const HWND window = pane.GetHandle();
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = pane.GetTable()->count() - 1;
    info.nPage = static_cast<UINT>(pane.VisibleRows());
    Stopwatch stopwatch;
    for (int call = 0; call < repetitions; ++call) {
        info.nPos = pane.GetTopItem() - call % 2;  // a moving thumb, as while the pane follows
        SetScrollInfo(window, SB_VERT, &info, TRUE);
    }
    const double scrollMicroseconds = stopwatch.ElapsedMicroseconds() / repetitions;
    info.nPos = pane.GetTopItem();
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    stopwatch.Restart();
    for (int call = 0; call < repetitions; ++call)
        pane.Update();
    const double updateMicroseconds = stopwatch.ElapsedMicroseconds() / repetitions;
    std::printf("per-line platform calls, %d each:\n", repetitions);
    std::printf("  SetScrollInfo with redraw %10.1f us\n", scrollMicroseconds);
    std::printf("  Invalidate and UpdateWindow %8.1f us\n", updateMicroseconds);
}

std::vector<int> FloodSizes(int argc, char** argv)
{
    if (argc < 2)
        return {2000, 100000};
    std::vector<int> sizes;
    for (int index = 1; index < argc; ++index) {
        const int lines = std::atoi(argv[index]);
        if (lines <= 0)
            throw std::invalid_argument(std::string("not a positive count: ") + argv[index]);
        sizes.push_back(lines);
    }
    return sizes;
}

void GiveHeapAllocator(tevrin::dib& buffer)
{
    buffer.allocate = [](size_t bytes) { return std::malloc(bytes); };
    buffer.release = [](void* block) { std::free(block); };
}

void Run(const std::vector<int>& floods)
{
    auto* host = new nibscope_benchmark::HostWindow;  // deleted with its window
    host->Create(hostClientWidth, hostClientHeight);
    host->SetClientSize(hostClientWidth, hostClientHeight);
    auto* pane = new CountingLogView;
    GiveHeapAllocator(pane->BackBuffer());
    pane->Create(hostClientWidth, hostClientHeight - logPaneTop, host, 0, logPaneTop);
    pane->Show(true);
    host->Show(true);
    nibscope_benchmark::PumpPendingMessages();
    // Whatever the set-up logged is not part of a flood.
    tevrin::drain_log_lines(pane);
    nibscope_benchmark::PumpPendingMessages();

    std::printf("log pane %d x %d client pixels, %d visible rows, at most %llu lines\n", pane->GetClientWidth(),
                pane->GetClientHeight(), pane->VisibleRows(), static_cast<unsigned long long>(logLineLimit));
    int number = 0;
    for (const int lines : floods) {
        for (const bool lineByLine : {true, false}) {
            ++number;
            PrintFlood(number, lines, RunFlood(*pane, lines, number, lineByLine));
        }
    }
    PrintPerLineCalls(*pane, 200);
    DestroyWindow(host->GetHandle());
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        Run(FloodSizes(argc, argv));
    } catch (const std::exception& error) {
        std::printf("log_flood_benchmark failed: %s\n", error.what());
        return 1;
    } catch (const char* message) {
        std::printf("log_flood_benchmark failed: %s\n", message);
        return 1;
    }
    return 0;
}
