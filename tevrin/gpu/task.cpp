#include "tevrin/gpu/task.h"

#include "tevrin/core/diagnostics.h"

#include <utility>

namespace tevrin {

task::task(std::string taskName) : name(std::move(taskName)) {}

task::~task()
{
    if (!thread)
        return;
    if (thread->get_id() == std::this_thread::get_id()) {
        // Joining from the worker itself would deadlock; let it finish on its own.
        debug_trace("tevrin::task::~task: destroyed on its own thread, not joined\n");
        thread->detach();
    } else if (thread->joinable()) {
        thread->join();
    }
}

namespace tasks {

void Add(ITaskManager* manager, std::shared_ptr<task> work)
{
    if (!manager || !manager->IsAlive()) {
        debug_trace("tevrin::tasks::Add: thread manager not alive, task ignored\n");
        return;
    }
    const std::lock_guard<std::mutex> lock(manager->mutex);
    manager->queue.push_back(std::move(work));
}

}  // namespace tasks
}  // namespace tevrin
