#pragma once
// tevrin::Application: knows where the executable lives, its file version and the
// product information of the about text. A program derives from it.
#include "tevrin/core/filesystem_entity_id.h"
#include "tevrin/core/filesystem_monitor.h"
#include "tevrin/core/listener.h"
#include "tevrin/core/types.h"

#include <string>
#include <vector>

namespace tevrin {

class Application : public listener, public ICommandTarget {
public:
    // Reads the module information; throws when the path or version cannot be read.
    Application();
    ~Application() override;

    virtual void ReadModuleInformation();
    virtual void BeforeInitialise() {}
    virtual void Initialise() = 0;
    virtual void AfterInitialise() = 0;
    virtual void Idle() {}
    virtual void AddPath(const char* utf8Path);

    bool HandleCommand(int /*id*/) override { return false; }

    // "<title> <version string>\n<copyright>"
    std::string GetAboutText() const;
    // "<major>.<minor> build <fourth>[ BETA], 64-bit" ("32-bit" for the x86 build)
    std::string GetVersionString() const;

    const std::string& GetProductTitle() const { return productTitle_; }
    const char* GetExecutablePath() const { return executablePath_.c_str(); }
    const char* GetResourceFolder() const { return resourceFolder_.c_str(); }
    const u32* GetVersion() const { return version_; }
    const std::vector<filesystem_entity_id>& GetPaths() const { return paths_; }

    // The "res" folder of "<parent of the executable's folder>\runtime" when that
    // folder exists, else of the executable's folder.
    static filesystem_entity_id ResolveResourceFolder(const char* utf8ExecutablePath);

protected:
    void SetProductInformation(const char* title, const char* description, const char* copyright,
                               const char* author, const char* supportAddress);

    bool beta_ = false;

private:
    std::vector<filesystem_entity_id> paths_;
    FilesystemMonitor monitor_;
    std::string productTitle_;
    std::string description_;
    std::string copyright_;
    std::string author_;
    std::string supportAddress_;
    filesystem_entity_id executablePath_;
    filesystem_entity_id resourceFolder_;
    u32 version_[4] = {0, 0, 0, 0};
    bool versionKnown_ = false;
};

}  // namespace tevrin
