// The simulated driver's playback mode, as a whole program meets it: the ramp comes
// from the environment (TEVRIN_SIMULATED_PEN_RAMP=100,400,4, set by the scenario),
// the pen enters every new context, and each packet read finds one new packet.
#include "simulated_driver.h"
#include "support/debug_output_capture.h"
#include "tablet_test_view.h"
#include "tablet_test_window.h"
#include "tevrin/tablet/pen_state.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace tevrin;
using namespace tevrin_test;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const char rampVariable[] = "TEVRIN_SIMULATED_PEN_RAMP";

// Sets the ramp variable for one test and puts the scenario's value back afterwards.
class RampVariable {
public:
    explicit RampVariable(const char* value)
    {
        const DWORD length = GetEnvironmentVariableA(rampVariable, saved_, sizeof saved_);
        hadValue_ = length > 0 && length < sizeof saved_;
        SetEnvironmentVariableA(rampVariable, value);
    }
    ~RampVariable() { SetEnvironmentVariableA(rampVariable, hadValue_ ? saved_ : nullptr); }
    RampVariable(const RampVariable&) = delete;
    RampVariable& operator=(const RampVariable&) = delete;

private:
    char saved_[256] = {};
    bool hadValue_ = false;
};

class PenRampPlayback : public ::testing::Test {
protected:
    void SetUp() override
    {
        driver.SetPressureAxis(0, 0, 1023, TRUE);
        driver.SetCursorButtons(1, 0, nullptr, 0, 0, 0);
        driver.SetLargestQueueSize(128);
        pressure_calibration = pressure_calibration_record();
        pen_state = pen_state_record();
        stylus_in_use = false;
    }

    void TearDown() override
    {
        PumpMessages();
        TakeLogLines();
    }

    // A framework window with the tablet procedure installed and its context open;
    // the proximity message the opening posted is still waiting.
    TabletTestView* NewView()
    {
        auto* view = new TabletTestView;
        view->Create(120, 120, nullptr, 10, 10);
        return view;
    }

    // Raw pressures of successive reads, scaled back from the pen state.
    std::vector<int> ReadPressures(tablet_context& context, int reads)
    {
        std::vector<int> raw;
        for (int i = 0; i < reads; ++i) {
            EXPECT_TRUE(context.read_latest_packet()) << "read " << i;
            raw.push_back(static_cast<int>(pen_state.pressure * 1023.0f + 0.5f));
        }
        return raw;
    }

    SimulatedDriver driver;
};

}  // namespace

TEST_F(PenRampPlayback, OpeningPutsThePenInProximityOfTheContextsWindow)
{
    DebugOutputCapture trace;
    TabletTestView* view = NewView();
    ASSERT_TRUE(view->is_open());
    EXPECT_FALSE(stylus_in_use) << "the proximity message is posted, not sent";

    PumpMessages();
    EXPECT_TRUE(stylus_in_use);
    EXPECT_THAT(TakeLogLines(), Contains("Tablet proximity event, value: TRUE"));
    EXPECT_THAT(trace.Text(), HasSubstr("Changing stylus_in_use to 1\n"));
    delete view;
}

TEST_F(PenRampPlayback, EachReadFindsOneNewPacketClimbingToTheLastPressureAndStayingThere)
{
    TabletTestView* view = NewView();
    PumpMessages();
    DebugOutputCapture trace;

    EXPECT_THAT(ReadPressures(*view, 6), ElementsAre(100, 200, 300, 400, 400, 400));
    const std::vector<std::string> pieces = trace.Pieces();
    EXPECT_EQ(std::count(pieces.begin(), pieces.end(), "1 packets found\n"), 6);
    EXPECT_FALSE(pen_state.alternate_cursor) << "the packets come from the pen tip, cursor 1";
    delete view;
}

TEST_F(PenRampPlayback, PacketsCarryThePressureButtonTheDriverNamesForThePenTip)
{
    // Logical button 1 maps to physical button 2 (value 4), with a press mark of 100.
    const BYTE map[] = {0, 2, 1};
    driver.SetCursorButtons(1, 1, map, sizeof map, 0, 100);
    TabletTestView* view = NewView();
    PumpMessages();

    ASSERT_TRUE(view->read_latest_packet());
    EXPECT_TRUE(pen_state.button2);
    EXPECT_FALSE(pen_state.button1);
    EXPECT_FLOAT_EQ(pen_state.pressure, 0.0f) << "the first raw pressure, 100, is the press mark";
    ASSERT_TRUE(view->read_latest_packet());
    EXPECT_FLOAT_EQ(pen_state.pressure, 100.0f / 923.0f);
    delete view;
}

TEST_F(PenRampPlayback, EveryContextPlaysItsOwnRampFromTheStart)
{
    TabletTestView* first = NewView();
    TabletTestView* second = NewView();
    PumpMessages();

    EXPECT_THAT(ReadPressures(*first, 3), ElementsAre(100, 200, 300));
    EXPECT_THAT(ReadPressures(*second, 2), ElementsAre(100, 200));
    EXPECT_THAT(ReadPressures(*first, 1), ElementsAre(400));
    delete second;
    delete first;
}

TEST_F(PenRampPlayback, EmptyingTheQueuePlaysNothingBack)
{
    TabletTestView* view = NewView();
    PumpMessages();

    view->discard_queued_packets();
    view->discard_queued_packets();
    EXPECT_THAT(ReadPressures(*view, 2), ElementsAre(100, 200));
    delete view;
}

TEST_F(PenRampPlayback, ContextWithoutAQueueFindsNoPackets)
{
    driver.SetLargestQueueSize(0);
    TabletTestView* view = NewView();
    PumpMessages();
    DebugOutputCapture trace;

    EXPECT_FALSE(view->read_latest_packet());
    EXPECT_THAT(trace.Pieces(), Contains("no tablet packets\n"));
    delete view;
}

TEST_F(PenRampPlayback, MalformedRampIsReportedAndPlaysNothing)
{
    for (const char* malformed : {"100,400", "100,400,0", "100;400;4", "-1,400,4", "100,400,4,5"}) {
        SCOPED_TRACE(malformed);
        RampVariable ramp(malformed);
        DebugOutputCapture trace;
        stylus_in_use = false;
        TabletTestView* view = NewView();
        PumpMessages();

        EXPECT_FALSE(stylus_in_use);
        EXPECT_FALSE(view->read_latest_packet());
        EXPECT_THAT(trace.Text(), HasSubstr(std::string("pen ramp '") + malformed + "' is not first,last,steps"));
        delete view;
    }
}

TEST_F(PenRampPlayback, RampReadAtEachOpeningSoAFallingRampWorksToo)
{
    RampVariable ramp("1000,0,3");
    TabletTestView* view = NewView();
    PumpMessages();

    EXPECT_THAT(ReadPressures(*view, 4), ElementsAre(1000, 500, 0, 0));
    delete view;
}
