#include "app/nibscope_app.h"

#include "app/product_info.h"
#include "tevrin/core/message_box.h"
#include "tevrin/core/text.h"

NibscopeApp::NibscopeApp()
{
    SetProductInformation(NIBSCOPE_PRODUCT_TITLE, NIBSCOPE_DESCRIPTION, NIBSCOPE_COPYRIGHT, NIBSCOPE_AUTHOR,
                          NIBSCOPE_SUPPORT_ADDRESS);
}

void NibscopeApp::Initialise()
{
    tevrin::RecordApplicationTitle(tevrin::ToUtf16(GetProductTitle()));
}

void NibscopeApp::Idle()
{
}
