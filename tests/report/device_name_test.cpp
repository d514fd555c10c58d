// The main program's reading of the device name, against a driver that fills the name
// only when given a buffer and answers 0 when asked for its size.
#include "tevrin/tablet/tablet_services.h"

#include <gtest/gtest.h>

TEST(DeviceNameSizeQuery, NameIsReadWhenTheSizeQueryAnswersZero)
{
    tevrin::load_tablet_services();
    ASSERT_EQ(tevrin::tablet_services_load_error(), "");
    ASSERT_EQ(tevrin::tablet_service_table().WTInfoA(tevrin::WTI_DEVICES, tevrin::DVC_NAME, nullptr), 0u)
        << "the scenario's driver must answer 0 to the size query";
    EXPECT_STREQ(tevrin::tablet_service_table().device_name, "Simulated Tablet");
}
