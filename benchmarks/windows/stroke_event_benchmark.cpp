// Prints what one pointer event of a long, fast stroke costs on the real surfaces
// (NibscopeViewNative and NibscopeViewGL) in a real window beside a real log pane, in
// two ways side by side: each stamp shown on its own (its square invalidated, and on
// the OpenGL surface uploaded, one by one, as the surfaces did before) and the event's
// stamps shown together (one rectangle, once). For each event: the time from sending
// WM_LBUTTONDOWN or WM_MOUSEMOVE to the handler's return, by which the walked line is
// stamped into the canvas and its change handed to the window system; the idle pass
// that takes the event's log line into the pane (line by line, as before, or the
// batched drain and its frame-paced showing); and apart from those the repaint of the
// invalidated area. Every move jumps 1,000 pixels, so the line walk is cut at its
// 500-point limit. Figures only; the program fails only when the events did not stamp
// and invalidate as a stroke must.
//   stroke_event_benchmark [MOVES_PER_STROKE]
#include "host_window.h"
#include "line_by_line_sink.h"
#include "message_pump.h"
#include "sample_statistics.h"
#include "stopwatch.h"

#include "app/nibscope_view_gl.h"
#include "app/nibscope_view_native.h"
#include "app/pressure_mapping.h"
#include "app/stroke_settings.h"
#include "tevrin/core/diagnostics.h"
#include "tevrin/core/dll_search.h"
#include "tevrin/ui/log_view.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using nibscope_benchmark::SampleSummary;
using nibscope_benchmark::Stopwatch;

constexpr int strokeJump = 1000;

// The main window's log pane: its width and height.
constexpr int logPaneWidth = 721;
constexpr int logPaneHeight = 208;

// A real surface, with its stamps counted on the way through; perStamp shows each
// stamp's change on its own, as the surfaces did before they gathered an event's.
template <class Surface>
class MeasuredSurface : public Surface {
public:
    void Stamp(tevrin::i32 x, tevrin::i32 y, tevrin::i32 diameter, tevrin::f32 mappedPressure) override
    {
        ++stamps;
        lastDiameter = diameter;
        Surface::Stamp(x, y, diameter, mappedPressure);
        if (perStamp)
            this->ShowChanges();
    }

    bool perStamp = false;
    long stamps = 0;
    int lastDiameter = 0;
};

enum class SurfaceKind { gdi, openGL };

struct StrokeScenario {
    const char* title;
    SurfaceKind kind;
    int surfaceWidth;
    int surfaceHeight;
    float gamma;
    int leftX;  // the stroke swings between leftX and leftX + strokeJump
    bool varyRows;  // each swing lands on another row, so the line runs slanted
};

struct StrokeFigures {
    double pressMicroseconds = 0.0;
    std::vector<double> moveMicroseconds;
    std::vector<double> logMicroseconds;
    std::vector<double> moveAndLogMicroseconds;
    std::vector<double> repaintMicroseconds;
    long moveStamps = 0;
    int diameter = 0;
    int invalidatedMoves = 0;
};

LPARAM PointAt(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

POINT SwingTarget(const StrokeScenario& scenario, int move)
{
    const int x = move % 2 == 0 ? scenario.leftX + strokeJump : scenario.leftX;
    const int y = scenario.varyRows ? 20 + (move * 37) % (scenario.surfaceHeight - 40) : scenario.surfaceHeight / 2;
    return {x, y};
}

bool HasUpdateRegion(HWND window)
{
    RECT area;
    return GetUpdateRect(window, &area, FALSE) != FALSE;
}

double TimedSend(HWND window, UINT message, WPARAM keys, POINT at)
{
    const Stopwatch stopwatch;
    SendMessageW(window, message, keys, PointAt(at.x, at.y));
    return stopwatch.ElapsedMicroseconds();
}

double TimedRepaint(HWND window)
{
    const Stopwatch stopwatch;
    UpdateWindow(window);
    return stopwatch.ElapsedMicroseconds();
}

template <class Surface>
Surface* CreateSurface(nibscope_benchmark::HostWindow* host, const StrokeScenario& scenario, StrokeSettings* settings)
{
    auto* surface = new Surface;  // deleted with its window
    if constexpr (std::is_base_of_v<NibscopeViewNative, Surface>) {
        surface->Canvas().allocate = [](size_t bytes) { return std::malloc(bytes); };
        surface->Canvas().release = [](void* block) { std::free(block); };
    }
    surface->SetName("GDI surface");
    surface->SetStrokeSettings(settings);
    surface->Create(scenario.surfaceWidth, scenario.surfaceHeight, host, 0, 0);
    surface->SetGamma(scenario.gamma);
    surface->Show(true);
    return surface;
}

tevrin::LogView* CreateLogPane(nibscope_benchmark::HostWindow* host, int top)
{
    auto* pane = new tevrin::LogView(1000);  // deleted with its window
    pane->BackBuffer().allocate = [](size_t bytes) { return std::malloc(bytes); };
    pane->BackBuffer().release = [](void* block) { std::free(block); };
    pane->Create(logPaneWidth, logPaneHeight, host, 0, top);
    pane->Show(true);
    return pane;
}

// The idle pass after an event: its log line into the pane, line by line as before or
// drained at once and shown at most once a frame.
double TimedIdlePass(tevrin::LogView& pane, bool lineByLine)
{
    const Stopwatch stopwatch;
    if (lineByLine) {
        nibscope_benchmark::LineByLineSink sink(pane);
        tevrin::drain_log_lines(&sink);
    } else {
        tevrin::drain_log_lines(&pane);
        pane.ShowNewLines();
    }
    return stopwatch.ElapsedMicroseconds();
}

template <class Surface>
StrokeFigures DrawStroke(MeasuredSurface<Surface>& surface, tevrin::LogView& pane, const StrokeScenario& scenario,
                         int moves)
{
    const HWND window = surface.GetHandle();
    const bool before = surface.perStamp;
    StrokeFigures figures;
    figures.pressMicroseconds = TimedSend(window, WM_LBUTTONDOWN, MK_LBUTTON, SwingTarget(scenario, 1));
    TimedIdlePass(pane, before);
    TimedRepaint(window);
    const long stampsBeforeMoves = surface.stamps;
    for (int move = 0; move < moves; ++move) {
        const double handler = TimedSend(window, WM_MOUSEMOVE, MK_LBUTTON, SwingTarget(scenario, move));
        const double idle = TimedIdlePass(pane, before);
        figures.moveMicroseconds.push_back(handler);
        figures.logMicroseconds.push_back(idle);
        figures.moveAndLogMicroseconds.push_back(handler + idle);
        if (HasUpdateRegion(window))
            ++figures.invalidatedMoves;
        figures.repaintMicroseconds.push_back(TimedRepaint(window));
    }
    const POINT release = SwingTarget(scenario, moves);
    SendMessageW(window, WM_LBUTTONUP, 0, PointAt(release.x, release.y));
    TimedIdlePass(pane, before);
    figures.moveStamps = surface.stamps - stampsBeforeMoves;
    figures.diameter = surface.lastDiameter;
    return figures;
}

// A move that jumps 1,000 pixels must stamp the walk's 499 new points, and the
// handler must have left something to repaint when the line crosses the canvas.
void CheckStroke(const StrokeFigures& figures, int moves)
{
    const long expected = static_cast<long>(moves) * 499;
    if (figures.moveStamps != expected)
        throw std::runtime_error("the moves made " + std::to_string(figures.moveStamps) + " stamps, expected " +
                                 std::to_string(expected));
    if (figures.invalidatedMoves == 0)
        throw std::runtime_error("no move invalidated the surface");
}

void PrintSummary(const char* label, const SampleSummary& s)
{
    std::printf("  %-38s median %8.1f us  p99 %8.1f us  min %8.1f us  max %8.1f us\n", label, s.median,
                s.percentile99, s.minimum, s.maximum);
}

void PrintStroke(const char* way, const StrokeFigures& figures, int moves)
{
    const SampleSummary move = nibscope_benchmark::Summarise(figures.moveMicroseconds);
    const double stampsPerMove = static_cast<double>(figures.moveStamps) / moves;
    std::printf(" %s: %d moves of %d pixels, %.0f stamps of diameter %d each; %d of them invalidated visible pixels\n",
                way, moves, strokeJump, stampsPerMove, figures.diameter, figures.invalidatedMoves);
    std::printf("  %-38s %8.1f us\n", "press: message to invalidation", figures.pressMicroseconds);
    PrintSummary("move: message to invalidation", move);
    std::printf("  %-38s median %8.2f us  mean %8.2f us\n", "move: per stamp", move.median / stampsPerMove,
                move.mean / stampsPerMove);
    PrintSummary("idle pass: its log line into the pane", nibscope_benchmark::Summarise(figures.logMicroseconds));
    PrintSummary("move and its log line", nibscope_benchmark::Summarise(figures.moveAndLogMicroseconds));
    PrintSummary("move: repaint of the invalidated area", nibscope_benchmark::Summarise(figures.repaintMicroseconds));
}

// What the surface asks of the platform for every stamp, each call timed alone over
// as many calls as one move makes stamps: the flush before the stamp's pixels are
// written, and the invalidation of the stamped square.
void PrintPlatformCallsPerStamp(HWND window, int diameter)
{
    const int stamps = 499;
    const int half = diameter / 2 + 1;
    Stopwatch stopwatch;
    for (int stamp = 0; stamp < stamps; ++stamp)
        GdiFlush();
    const double flush = stopwatch.ElapsedMicroseconds() / stamps;
    stopwatch.Restart();
    for (int stamp = 0; stamp < stamps; ++stamp) {
        const int x = 20 + stamp % 300;
        const RECT square = {x - half, 180 - half, x + half, 180 + half};
        InvalidateRect(window, &square, FALSE);
    }
    const double invalidate = stopwatch.ElapsedMicroseconds() / stamps;
    ValidateRect(window, nullptr);
    std::printf("  %-38s %8.2f us\n", "GdiFlush alone, per call", flush);
    std::printf("  %-38s %8.2f us\n", "InvalidateRect alone, per call", invalidate);
}

template <class Surface>
StrokeFigures RunOneWay(const StrokeScenario& scenario, int moves, bool perStamp)
{
    auto* host = new nibscope_benchmark::HostWindow;  // deleted with its window
    const int clientWidth = std::max(scenario.surfaceWidth + 20, logPaneWidth);
    const int clientHeight = scenario.surfaceHeight + 20 + logPaneHeight;
    host->Create(clientWidth + 20, clientHeight + 20);
    host->SetClientSize(clientWidth, clientHeight);
    StrokeSettings settings;
    settings.interpolate = true;
    auto* surface = CreateSurface<MeasuredSurface<Surface>>(host, scenario, &settings);
    surface->perStamp = perStamp;
    tevrin::LogView* pane = CreateLogPane(host, scenario.surfaceHeight + 20);
    host->Show(true);
    nibscope_benchmark::PumpPendingMessages();
    TimedIdlePass(*pane, false);  // what the set-up logged
    nibscope_benchmark::PumpPendingMessages();

    const StrokeFigures figures = DrawStroke(*surface, *pane, scenario, moves);
    CheckStroke(figures, moves);
    if (!perStamp && scenario.kind == SurfaceKind::gdi)
        PrintPlatformCallsPerStamp(surface->GetHandle(), figures.diameter);
    DestroyWindow(host->GetHandle());
    nibscope_benchmark::PumpPendingMessages();
    return figures;
}

void RunScenario(const StrokeScenario& scenario, int moves)
{
    std::printf("%s\n", scenario.title);
    for (const bool perStamp : {true, false}) {
        const StrokeFigures figures = scenario.kind == SurfaceKind::gdi
                                          ? RunOneWay<NibscopeViewNative>(scenario, moves, perStamp)
                                          : RunOneWay<NibscopeViewGL>(scenario, moves, perStamp);
        PrintStroke(perStamp ? "each stamp shown on its own, log line by line (before)"
                             : "each event's stamps shown together, log drained at once (now)",
                    figures, moves);
    }
}

int MovesArgument(int argc, char** argv)
{
    if (argc < 2)
        return 1000;
    const int moves = std::atoi(argv[1]);
    if (moves <= 0)
        throw std::invalid_argument(std::string("not a positive count: ") + argv[1]);
    return moves;
}

}  // namespace

int main(int argc, char** argv)
{
    tevrin::restrict_library_search();
    tevrin::bind_delay_loaded_libraries();  // as the program does: OpenGL's functions bound before their first call
    // Without a tablet the pen pressure is the mouse's fixed 0.5; the gamma sets the diameter.
    const StrokeScenario scenarios[] = {
        {"GDI surface 360 x 360, gamma 3.00 (the default): the line leaves the canvas", SurfaceKind::gdi, 360, 360,
         kDefaultPressureGamma, -320, true},
        {"GDI surface 360 x 360, gamma 0.10: the line leaves the canvas", SurfaceKind::gdi, 360, 360, 0.1f, -320,
         true},
        {"GDI surface 1040 x 360, gamma 0.10: every stamp whole on the canvas", SurfaceKind::gdi, 1040, 360, 0.1f, 20,
         false},
        {"OpenGL surface 360 x 360, gamma 3.00 (the default): the line leaves the canvas", SurfaceKind::openGL, 360,
         360, kDefaultPressureGamma, -320, true},
        {"OpenGL surface 1040 x 360, gamma 0.10: every stamp whole on the canvas", SurfaceKind::openGL, 1040, 360,
         0.1f, 20, false},
    };
    try {
        const int moves = MovesArgument(argc, argv);
        for (const StrokeScenario& scenario : scenarios)
            RunScenario(scenario, moves);
    } catch (const std::exception& error) {
        std::printf("stroke_event_benchmark failed: %s\n", error.what());
        return 1;
    } catch (const char* message) {
        std::printf("stroke_event_benchmark failed: %s\n", message);
        return 1;
    }
    return 0;
}
