// Preloaded into the test programs by scripts/tsan.sh: tells the thread sanitizer how Qt hands
// work from one thread to another. Debian's Qt is not built with the sanitizer, so the futex
// locks and atomics with which it passes a queued signal's arguments to the receiving thread,
// and with which QThread::wait() learns that a thread has ended, are invisible to it; without
// this library every such hand-over is reported as a data race in the code on either side. It
// adds the edges the sanitizer would otherwise see:
//  - a signal: the emitting thread holds one recursive lock from the signal's start to its end
//    (its arguments are copied and its events posted meanwhile); a thread that receives a call
//    event takes and drops the same lock before handling it;
//  - a thread's end: Qt's threads are created joinable, and QThread::wait() joins the thread
//    once it has ended, as the sanitizer expects of a thread whose end others rely on.
// The simulated controllers run in plain QThreads without a name (the CLI's workers are
// PortWorkers, Qt Test's watchdog has a name); they are test equipment, not under test, and
// their memory accesses are not checked.
#include <dlfcn.h>
#include <pthread.h>

#include <QDeadlineTimer>
#include <QEvent>
#include <QHash>
#include <QThread>
#include <cstring>
#include <mutex>

extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();

// The hooks QMetaObject::activate calls around every signal (exported by QtCore, declared in its
// private headers).
struct QSignalSpyCallbackSet {
    using BeginCallback = void (*)(QObject* caller, int index, void** argv);
    using EndCallback = void (*)(QObject* caller, int index);
    BeginCallback signal_begin_callback, slot_begin_callback;
    EndCallback signal_end_callback, slot_end_callback;
};
void qt_register_signal_spy_callbacks(QSignalSpyCallbackSet* callbacks);

namespace {

template <typename Function>
Function next(const char* symbol) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, symbol));
}

std::recursive_mutex handoff;
const pthread_t mainThread = pthread_self();  // the library is loaded by the main thread

// The thread of every running QThread (Qt passes the QThread to the thread's start function).
std::mutex threadsMutex;
QHash<void*, pthread_t> threads;

// A simulated controller's thread: its accesses are not checked, from its first signal or event
// until its thread function returns.
bool isEquipment() {
    thread_local const bool equipment = [] {
        QThread* thread = QThread::currentThread();
        return !pthread_equal(pthread_self(), mainThread) && thread != nullptr &&
               std::strcmp(thread->metaObject()->className(), "QThread") == 0 &&
               thread->objectName().isEmpty();
    }();
    thread_local const bool ignoring = equipment ? (__tsan_ignore_thread_begin(), true) : false;
    return ignoring;
}

void signalBegins(QObject*, int, void**) {
    if (!isEquipment()) {
        handoff.lock();
    }
}

void signalEnds(QObject*, int) {
    if (!isEquipment()) {
        handoff.unlock();
    }
}

void slotBegins(QObject*, int, void**) {}
void slotEnds(QObject*, int) {}

bool eventArrives(void** data) {
    const auto* event = static_cast<const QEvent*>(data[1]);
    if (event->type() == QEvent::MetaCall && !isEquipment()) {
        const std::lock_guard<std::recursive_mutex> lock(handoff);
    }
    return false;  // the event is handled as usual
}

QSignalSpyCallbackSet callbacks{signalBegins, slotBegins, signalEnds, slotEnds};

[[gnu::constructor]] void install() {
    qt_register_signal_spy_callbacks(&callbacks);
    QInternal::registerCallback(QInternal::EventNotifyCallback, eventArrives);
}

struct Start {
    void* (*function)(void*);
    void* argument;
};

void* startThread(void* start) {
    const Start s = *static_cast<Start*>(start);
    delete static_cast<Start*>(start);
    void* result = s.function(s.argument);
    if (isEquipment()) {
        __tsan_ignore_thread_end();  // the sanitizer refuses a thread that ends ignoring
    }
    return result;
}

}  // namespace

extern "C" int pthread_attr_setdetachstate(pthread_attr_t* attributes, int) {
    static const auto real = next<int (*)(pthread_attr_t*, int)>("pthread_attr_setdetachstate");
    return real(attributes, PTHREAD_CREATE_JOINABLE);
}

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes,
                              void* (*function)(void*), void* argument) {
    static const auto real =
        next<int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*)>("pthread_create");
    const int failed = real(thread, attributes, startThread, new Start{function, argument});
    if (!failed) {
        const std::lock_guard<std::mutex> lock(threadsMutex);
        threads.insert(argument, *thread);
    }
    return failed;
}

bool QThread::wait(QDeadlineTimer deadline) {
    static const auto real =
        next<bool (*)(QThread*, QDeadlineTimer)>("_ZN7QThread4waitE14QDeadlineTimer");
    const bool ended = real(this, deadline);
    std::unique_lock<std::mutex> lock(threadsMutex);
    if (ended && threads.contains(this)) {
        const pthread_t thread = threads.take(this);
        lock.unlock();
        pthread_join(thread, nullptr);
    }
    return ended;
}
