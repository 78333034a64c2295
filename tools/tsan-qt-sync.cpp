// Preloaded into ThreadSanitizer runs (tools/run-tsan.sh): tells ThreadSanitizer what Qt's thread
// pool, semaphores and mutexes order. Debian's Qt is not built with ThreadSanitizer, and its
// mutexes and semaphores wait on futexes, which ThreadSanitizer does not see: every band painted
// on the pool would otherwise race with the thread that handed it over and with the one that
// waits for it, and every call from QML with the render thread's paint(), which Qt Quick orders
// with a mutex and a wait condition. Calls from other libraries than Qt Core (the library's, Qt
// Quick's) reach these definitions first; they hand over to Qt's own.

#include <QtCore/QHash>
#include <QtCore/QMutex>
#include <QtCore/QRunnable>
#include <QtCore/QSemaphore>
#include <QtCore/QThreadPool>
#include <QtCore/QWaitCondition>

#include <dlfcn.h>

#include <mutex>

extern "C" void __tsan_acquire(void *address);
extern "C" void __tsan_release(void *address);

namespace {

template<typename Call>
Call qtOwn(const char *symbol)
{
    const auto call = reinterpret_cast<Call>(dlsym(RTLD_NEXT, symbol));
    if (!call)
        qFatal("tsan-qt-sync: %s not found", symbol);
    return call;
}

using Start = void (*)(QThreadPool *, QRunnable *, int);
using TryTake = bool (*)(QThreadPool *, QRunnable *);

// Pool threads take runnables from a queue behind a futex: each runnable goes to the pool in a
// wrapper that acquires what its starter released before it runs.
std::mutex wrappersMutex;
QHash<QRunnable *, QRunnable *> wrappers; // the started runnable's wrapper, until it runs

class Handover : public QRunnable
{
public:
    explicit Handover(QRunnable *runnable) : m_runnable(runnable) { }
    void run() override
    {
        {
            std::lock_guard<std::mutex> lock(wrappersMutex);
            wrappers.remove(m_runnable);
        }
        __tsan_acquire(m_runnable);
        const bool owned = m_runnable->autoDelete();
        m_runnable->run();
        if (owned)
            delete m_runnable;
    }

private:
    QRunnable *m_runnable;
};

} // namespace

void QThreadPool::start(QRunnable *runnable, int priority)
{
    static const auto own = qtOwn<Start>("_ZN11QThreadPool5startEP9QRunnablei");
    if (!runnable)
        return own(this, runnable, priority);
    auto *handover = new Handover(runnable);
    {
        std::lock_guard<std::mutex> lock(wrappersMutex);
        wrappers.insert(runnable, handover);
    }
    __tsan_release(runnable);
    own(this, handover, priority);
}

bool QThreadPool::tryTake(QRunnable *runnable)
{
    static const auto own = qtOwn<TryTake>("_ZN11QThreadPool7tryTakeEP9QRunnable");
    std::lock_guard<std::mutex> lock(wrappersMutex);
    QRunnable *handover = wrappers.value(runnable);
    if (!handover || !own(this, handover))
        return false;
    wrappers.remove(runnable);
    delete handover;
    return true;
}

void QSemaphore::acquire(int n)
{
    static const auto own = qtOwn<void (*)(QSemaphore *, int)>("_ZN10QSemaphore7acquireEi");
    own(this, n);
    __tsan_acquire(this);
}

void QSemaphore::release(int n)
{
    static const auto own = qtOwn<void (*)(QSemaphore *, int)>("_ZN10QSemaphore7releaseEi");
    __tsan_release(this);
    own(this, n);
}

// Qt 6 locks and unlocks its mutexes inline.
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
void QMutex::lock() QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto own = qtOwn<void (*)(QMutex *)>("_ZN6QMutex4lockEv");
    own(this);
    __tsan_acquire(this);
}

bool QMutex::tryLock(int timeout) QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto own = qtOwn<bool (*)(QMutex *, int)>("_ZN6QMutex7tryLockEi");
    const bool locked = own(this, timeout);
    if (locked)
        __tsan_acquire(this);
    return locked;
}

void QMutex::unlock() noexcept
{
    static const auto own = qtOwn<void (*)(QMutex *)>("_ZN6QMutex6unlockEv");
    __tsan_release(this);
    own(this);
}

// Waiting unlocks the mutex and locks it again.
bool QWaitCondition::wait(QMutex *mutex, QDeadlineTimer deadline)
{
    static const auto own = qtOwn<bool (*)(QWaitCondition *, QMutex *, QDeadlineTimer)>(
            "_ZN14QWaitCondition4waitEP6QMutex14QDeadlineTimer");
    __tsan_release(mutex);
    const bool woken = own(this, mutex, deadline);
    __tsan_acquire(mutex);
    return woken;
}

bool QWaitCondition::wait(QMutex *mutex, unsigned long time)
{
    static const auto own = qtOwn<bool (*)(QWaitCondition *, QMutex *, unsigned long)>(
            "_ZN14QWaitCondition4waitEP6QMutexm");
    __tsan_release(mutex);
    const bool woken = own(this, mutex, time);
    __tsan_acquire(mutex);
    return woken;
}
#endif
