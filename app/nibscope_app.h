#pragma once
// The program's application object: product information, and on initialisation
// the main window.
#include "tevrin/core/application.h"

class AppWindow;

class NibscopeApp : public tevrin::Application {
public:
    NibscopeApp();
    ~NibscopeApp() override = default;

    void Initialise() override;
    void AfterInitialise() override {}
    void Idle() override;

    // The main window while it exists, else null.
    AppWindow* GetMainWindow() const { return HasMainWindow() ? mainWindow_ : nullptr; }

private:
    bool HasMainWindow() const;

    AppWindow* mainWindow_ = nullptr;  // owned by the window framework
};
