#include "editor/RetiredQueues.h"

#include <QCoreApplication>
#include <QTimer>
#include <vector>

namespace {

std::vector<std::unique_ptr<platform::OperationQueue>>& retired() {
    static std::vector<std::unique_ptr<platform::OperationQueue>> queues;
    return queues;
}

void releaseIdleQueues() {
    auto& queues = retired();
    std::erase_if(queues, [](const auto& queue) { return queue->operationCount() == 0; });
    if (!queues.empty() && QCoreApplication::instance())
        QTimer::singleShot(50, QCoreApplication::instance(), releaseIdleQueues);
}

}  // namespace

void RetiredQueues::retire(std::unique_ptr<platform::OperationQueue> queue) {
    if (!queue) return;
    queue->cancelAllOperations();
    if (queue->operationCount() == 0 || !QCoreApplication::instance()) return;  // released here
    const bool polling = !retired().empty();
    retired().push_back(std::move(queue));
    if (!polling) QTimer::singleShot(50, QCoreApplication::instance(), releaseIdleQueues);
}

int RetiredQueues::count() {
    return int(retired().size());
}
