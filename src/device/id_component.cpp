#include "id_component.h"

#include "id_exceptions.h"
#include "id_stack.h"

#include <memory>
#include <mutex>

namespace hoofer {

namespace {
std::mutex g_countLock;
int g_count = 0;
std::unique_ptr<TIdStack> g_stack;
} // namespace

TIdComponent::TIdComponent()
{
    std::lock_guard<std::mutex> lock(g_countLock);
    if (g_count == 0) {
        g_stack = CreatePlatformStack();
        if (!g_stack)
            throw EIdStackInitializationFailed();
    }
    ++g_count;
}

TIdComponent::~TIdComponent()
{
    std::lock_guard<std::mutex> lock(g_countLock);
    if (--g_count == 0)
        g_stack.reset();
}

TIdStack &GStack()
{
    // Only network objects call this, and while one exists the stack runs.
    return *g_stack;
}

} // namespace hoofer
