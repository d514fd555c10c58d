// The texture registry of a real OpenGL context: built-in textures, names, the recent
// queue, loader tasks with a task manager of the test's own, and images.
#include "plain_window.h"
#include "support/debug_output_capture.h"
#include "tevrin/gpu/gpu_textures.h"
#include "tevrin/gpu/image_source.h"
#include "tevrin/gpu/opengl_context.h"
#include "tevrin/gpu/task.h"
#include "tevrin/gpu/texture_loader_task.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace tevrin;
using gpu_test::PlainWindow;
using tevrin_test::DebugOutputCapture;

namespace {

struct TestTaskManager : ITaskManager {
    bool alive = true;
    bool IsAlive() const override { return alive; }
};

// A 2 x 2 grey image: every pixel's bytes are its index times ten.
TextureLoader GreyLoader(int* loads)
{
    TextureLoader loader;
    loader.Load = [loads](const std::string&, TextureLoadResult& result) {
        ++*loads;
        result.width = 2;
        result.height = 2;
        result.bits = 8;
        result.formatTag = 5;
        result.pixels = {0, 10, 20, 30};
    };
    return loader;
}

class RegistryInContext : public ::testing::Test {
protected:
    void SetUp() override
    {
        context = std::make_unique<OpenGLContext>(window.handle);
        context->IsAlive = [](IGpuContext*) { return true; };
    }

    std::string DumpText()
    {
        DebugOutputCapture capture;
        context->Dump();
        return capture.Text();
    }

    std::shared_ptr<TextureLoaderTask> QueuedTask(size_t index = 0)
    {
        return std::dynamic_pointer_cast<TextureLoaderTask>(manager.queue.at(index));
    }

    static std::vector<u8> GpuBytes(u32 name, GLenum format, size_t size)
    {
        std::vector<u8> bytes(size, 0xEE);
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, bytes.data());
        return bytes;
    }

    PlainWindow window;
    std::unique_ptr<OpenGLContext> context;
    TestTaskManager manager;
};

}  // namespace

TEST_F(RegistryInContext, TheLoaderBringsWhiteAndChecker)
{
    EXPECT_EQ(DumpText(), "tevrin::GpuTextures::Dump\n");
    context->SetTextureLoader(TextureLoader());
    const GpuTextures& registry = *context->textures;
    ASSERT_TRUE(registry.White() && registry.Checker());
    const u32 white = registry.White()->name;
    const u32 checker = registry.Checker()->name;
    ASSERT_NE(white, 0u);
    ASSERT_NE(checker, 0u);
    EXPECT_EQ(registry.White()->bits, 0);
    EXPECT_EQ(registry.Checker()->GetSize(), std::make_pair(0, 0));

    EXPECT_EQ(GpuBytes(white, GL_BGRA, 4), (std::vector<u8>{255, 255, 255, 255}));
    EXPECT_EQ(GpuBytes(checker, GL_LUMINANCE, 4), (std::vector<u8>{255, 192, 192, 255}));
    EXPECT_EQ(DumpText(), "tevrin::GpuTextures::Dump\nchecker: " + std::to_string(checker) +
                              "\nwhite: " + std::to_string(white) + "\n");
}

TEST_F(RegistryInContext, DestroyingTheContextDeletesTheBuiltInsThroughIsAlive)
{
    int asked = 0;
    context->IsAlive = [&asked](IGpuContext*) {
        ++asked;
        return true;
    };
    context->SetTextureLoader(TextureLoader());
    DebugOutputCapture capture;
    context.reset();
    EXPECT_EQ(asked, 2);
    EXPECT_NE(capture.Text().find("tevrin::GpuTextures::Destroy\n"), std::string::npos);
}

TEST_F(RegistryInContext, RetainingFiftyOneKeepsTheLastFifty)
{
    std::vector<TextureWeakPtr> watched;
    for (int index = 0; index < 51; ++index) {
        TexturePtr texture = context->CreateTexture();
        watched.push_back(texture);
        context->RetainTexture(texture);
    }
    EXPECT_TRUE(watched[0].expired());
    for (int index = 1; index < 51; ++index)
        EXPECT_FALSE(watched[index].expired()) << index;
}

TEST_F(RegistryInContext, DumpShowsMinusOneForAnExpiredNameAndRemoveForgetsIt)
{
    TexturePtr kept = context->LoadTexture("kept", &manager, TextureLoader());
    TexturePtr dropped = context->LoadTexture("dropped", &manager, TextureLoader());
    kept->name = 12;  // a stand-in name: only the dump reads it
    dropped.reset();
    EXPECT_EQ(DumpText(), "tevrin::GpuTextures::Dump\ndropped: -1\nkept: 12\n");
    context->RemoveTexture("dropped");
    context->RemoveTexture("never there");
    EXPECT_EQ(DumpText(), "tevrin::GpuTextures::Dump\nkept: 12\n");
    kept->name = 0;
}

TEST_F(RegistryInContext, LoadTextureQueuesOneTaskPerLiveName)
{
    TexturePtr first = context->LoadTexture("brush", &manager, TextureLoader());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->name, 0u);
    EXPECT_EQ(context->LoadTexture("brush", &manager, TextureLoader()), first);
    EXPECT_EQ(manager.queue.size(), 1u);
    EXPECT_EQ(manager.queue.front()->name, "brush");

    first.reset();
    TexturePtr second = context->LoadTexture("brush", &manager, TextureLoader());
    EXPECT_EQ(manager.queue.size(), 2u);
    EXPECT_FALSE(QueuedTask(0)->IsWanted());
    EXPECT_TRUE(QueuedTask(1)->IsWanted());
}

TEST_F(RegistryInContext, ATaskForADeadManagerIsDroppedWithATrace)
{
    manager.alive = false;
    DebugOutputCapture capture;
    TexturePtr texture = context->LoadTexture("paper", &manager, TextureLoader());
    context->LoadTexture("canvas", nullptr, TextureLoader());
    EXPECT_TRUE(texture);
    EXPECT_TRUE(manager.queue.empty());
    EXPECT_EQ(capture.Text(), "tevrin::tasks::Add: thread manager not alive, task ignored\n"
                              "tevrin::tasks::Add: thread manager not alive, task ignored\n");
}

TEST_F(RegistryInContext, ALoadedTaskInstallsIntoItsTextureAndTarget)
{
    int registryLoads = 0;
    int overrideLoads = 0;
    context->SetTextureLoader(GreyLoader(&registryLoads));
    TextureLoader override = GreyLoader(&overrideLoads);
    std::vector<std::string> steps;
    override.PostLoad = [&steps](const std::string& name, TextureLoadResult& result) {
        steps.push_back("post " + name + " " + std::to_string(result.pixels.size()));
    };
    override.Installed = [&steps](ITexture& texture) { steps.push_back("installed " + std::to_string(texture.width)); };

    TexturePtr target = context->CreateTexture();
    TexturePtr texture = context->LoadTexture("grey", &manager, target, override);
    auto task = QueuedTask();
    ASSERT_TRUE(task);
    task->Finish();  // not loaded yet: nothing to install
    EXPECT_EQ(texture->name, 0u);

    task->Run();
    EXPECT_EQ(task->state, taskLoaded);
    EXPECT_EQ(overrideLoads, 1);
    EXPECT_EQ(registryLoads, 0);
    EXPECT_EQ(texture->formatTag, 5);
    task->Finish();
    EXPECT_EQ(task->done, 1);
    ASSERT_NE(texture->name, 0u);
    EXPECT_EQ(texture->GetSize(), std::make_pair(2, 2));
    EXPECT_EQ(texture->bits, 8);
    ASSERT_NE(target->name, 0u);
    EXPECT_NE(target->name, texture->name);
    EXPECT_EQ(GpuBytes(texture->name, GL_LUMINANCE, 4), (std::vector<u8>{0, 10, 20, 30}));
    EXPECT_EQ(GpuBytes(target->name, GL_LUMINANCE, 4), (std::vector<u8>{0, 10, 20, 30}));
    EXPECT_EQ(steps, (std::vector<std::string>{"post grey 4", "installed 2", "installed 2"}));
}

TEST_F(RegistryInContext, ATaskWhoseTextureExpiredIsAbandoned)
{
    int loads = 0;
    TextureLoader loader = GreyLoader(&loads);
    std::string abandoned;
    loader.Abandoned = [&abandoned](const std::string& name) { abandoned = name; };
    TexturePtr texture = context->LoadTexture("gone", &manager, loader);
    auto task = QueuedTask();
    texture.reset();
    task->Run();
    EXPECT_EQ(task->state, taskAbandoned);
    EXPECT_EQ(task->done, 1);
    EXPECT_EQ(loads, 0);
    EXPECT_EQ(abandoned, "gone");
}

TEST_F(RegistryInContext, ATaskRunOnAWorkerThreadIsJoinedOnDestruction)
{
    int loads = 0;
    TexturePtr texture = context->LoadTexture("worker", &manager, GreyLoader(&loads));
    std::shared_ptr<task> work = manager.queue.front();
    manager.queue.clear();
    std::thread::id worker;
    work->thread = std::make_unique<std::thread>([work = work.get(), &worker] {
        worker = std::this_thread::get_id();
        work->Run();
    });
    work->thread->join();
    EXPECT_NE(worker, std::this_thread::get_id());
    work->Finish();
    EXPECT_NE(texture->name, 0u);
    EXPECT_EQ(loads, 1);
    work.reset();  // joins an already joined thread without complaint
}

TEST(TaskBase, DestructionWaitsForItsThread)
{
    struct Slow : task {
        void Run() override {}
    };
    bool finished = false;
    {
        Slow work;
        work.thread = std::make_unique<std::thread>([&finished] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            finished = true;
        });
    }
    EXPECT_TRUE(finished);
}

TEST_F(RegistryInContext, ATaskWithoutALoadDelegateThrowsOnRun)
{
    TexturePtr texture = context->LoadTexture("unloadable", &manager, TextureLoader());
    EXPECT_THROW(QueuedTask()->Run(), empty_delegate_error);
}

namespace {

struct RecordingImage : IImageSource {
    std::vector<std::string> calls;
    void Begin() override { calls.push_back("begin"); }
    i32 GetWidth() const override { return 2; }
    i32 GetHeight() const override { return 3; }
    void ReadRow(i32 y, u8* row) override
    {
        calls.push_back("row " + std::to_string(y));
        for (int byte = 0; byte < 8; ++byte)
            row[byte] = static_cast<u8>(y * 8 + byte);
    }
    i32 GetFormatTag() const override { return 9; }
    void End() override { calls.push_back("end"); }
};

}  // namespace

TEST_F(RegistryInContext, AnImageBecomesA32BitTextureRowByRow)
{
    RecordingImage image;
    TexturePtr texture = context->CreateTextureFromImage(image);
    ASSERT_TRUE(texture);
    EXPECT_EQ(image.calls, (std::vector<std::string>{"begin", "row 0", "row 1", "row 2", "end"}));
    ASSERT_NE(texture->name, 0u);
    EXPECT_EQ(texture->bits, 32);
    EXPECT_EQ(texture->GetSize(), std::make_pair(2, 3));
    EXPECT_EQ(texture->formatTag, 9);
    EXPECT_EQ(texture->context, context.get());
    EXPECT_EQ(texture->Read(), 0u);
    std::vector<u8> expected(24);
    for (size_t byte = 0; byte < expected.size(); ++byte)
        expected[byte] = static_cast<u8>(byte);
    EXPECT_EQ(texture->pixels, expected);
}

TEST(TextureLoaderMerge, TheOverrideReplacesOnlyWhatItSupplies)
{
    TextureLoader base;
    std::string used;
    base.Load = [&used](const std::string&, TextureLoadResult&) { used += "base-load "; };
    base.Installed = [&used](ITexture&) { used += "base-installed "; };
    base.userValue = 42;
    TextureLoader override;
    override.Load = [&used](const std::string&, TextureLoadResult&) { used += "override-load "; };

    const TextureLoader merged = base.OverriddenBy(override);
    TextureLoadResult result;
    merged.Load("x", result);
    EXPECT_TRUE(merged.Installed);
    EXPECT_FALSE(merged.PreInstall);
    EXPECT_EQ(merged.userValue, 42u);
    EXPECT_EQ(used, "override-load ");
}
