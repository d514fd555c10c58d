#include "app/nibscope_app.h"

#include "app/app_window.h"
#include "app/product_info.h"
#include "tevrin/core/message_box.h"
#include "tevrin/core/text.h"
#include "tevrin/ui/window_list.h"

#include <algorithm>

namespace {

constexpr int initialWidth = 720;
constexpr int initialHeight = 700;

}  // namespace

NibscopeApp::NibscopeApp()
{
    SetProductInformation(NIBSCOPE_PRODUCT_TITLE, NIBSCOPE_DESCRIPTION, NIBSCOPE_COPYRIGHT, NIBSCOPE_AUTHOR,
                          NIBSCOPE_SUPPORT_ADDRESS);
}

void NibscopeApp::Initialise()
{
    tevrin::RecordApplicationTitle(tevrin::ToUtf16(GetProductTitle()));
    mainWindow_ = new AppWindow;
    mainWindow_->Create(initialWidth, initialHeight, nullptr, 0, 0);
    mainWindow_->SetTitle(GetProductTitle());
    int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
    mainWindow_->GetSizeLimits(minWidth, minHeight, maxWidth, maxHeight);
    mainWindow_->SetSize(minWidth, minHeight);
    mainWindow_->Show(true);
}

void NibscopeApp::Idle()
{
    if (HasMainWindow())
        mainWindow_->FlushLog();
}

bool NibscopeApp::HasMainWindow() const
{
    // The window framework deletes the window object when its window is destroyed.
    const auto& windows = tevrin::WindowList();
    return mainWindow_ && std::find(windows.begin(), windows.end(), mainWindow_) != windows.end();
}
