// The main program's reading of the device name against drivers whose size query
// answers 0 or less than they then write: the name is read whole all the same.
#include "tevrin/tablet/tablet_services.h"

#include <gtest/gtest.h>

using namespace tevrin;

namespace {

// The simulated driver reads its quirks from the environment at every call.
void use_quirk(const char* quirk)
{
    SetEnvironmentVariableA("TEVRIN_SIMULATED_QUIRKS", quirk);
}

}  // namespace

TEST(DeviceNameSizeQuery, NameIsReadWholeWhateverTheSizeQueryAnswers)
{
    use_quirk("name-size-zero");
    load_tablet_services();
    ASSERT_EQ(tablet_services_load_error(), "");
    EXPECT_STREQ(tablet_service_table().device_name, "Simulated Tablet") << "the main program's first loading";

    const struct {
        const char* quirk;
        UINT announced;
    } rows[] = {{"", 17}, {"name-size-zero", 0}, {"name-size-short", 4}};
    for (const auto& row : rows) {
        use_quirk(row.quirk);
        ASSERT_EQ(tablet_service_table().WTInfoA(WTI_DEVICES, DVC_NAME, nullptr), row.announced) << row.quirk;
        EXPECT_EQ(read_device_name_in_ansi(tablet_service_table().WTInfoA, 0), "Simulated Tablet") << row.quirk;
    }
}
