#pragma once
// Background work: a task runs on a worker thread of a task manager (Run) and is
// completed on the thread that owns the GPU context (Finish). The manager itself is
// the caller's; this framework only queues into it.
#include "tevrin/core/types.h"

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace tevrin {

class task {
public:
    explicit task(std::string taskName = std::string());
    virtual ~task();
    task(const task&) = delete;
    task& operator=(const task&) = delete;

    virtual void Run() = 0;
    virtual void Finish() {}
    virtual bool IsWanted() { return true; }

    // The thread that runs this task, given by the manager; joined on destruction.
    std::unique_ptr<std::thread> thread;
    f32 progress = -1.0f;
    std::string name;
    std::mutex mutex;
    std::atomic<i32> state{0};
    std::atomic<u8> done{0};
};

// The states this framework's tasks report.
constexpr i32 taskLoaded = 2;     // Run is done; Finish may install the result
constexpr i32 taskAbandoned = 4;  // nobody wants the result any more

class ITaskManager {
public:
    virtual ~ITaskManager() = default;
    virtual bool IsAlive() const = 0;

    // Guarded by mutex; the manager's workers take tasks from the front.
    std::mutex mutex;
    std::deque<std::shared_ptr<task>> queue;
};

namespace tasks {

// Queues work with a live manager; with none (or a dead one) the task is dropped with a
// debugger line.
void Add(ITaskManager* manager, std::shared_ptr<task> work);

}  // namespace tasks
}  // namespace tevrin
