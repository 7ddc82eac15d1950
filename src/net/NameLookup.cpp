#include "net/NameLookup.h"

#include "net/UniqueFd.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <netdb.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <system_error>
#include <thread>

namespace olv {

struct NameLookup::Shared {
    std::string host;
    std::string port;
    UniqueFd ready{::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)};
    std::atomic<bool> done{false};
    int error = EAI_SYSTEM;     // written before done
    addrinfo* result = nullptr; // written before done

    ~Shared() {
        if (result)
            freeaddrinfo(result);
    }
};

namespace {

void Resolve(NameLookup::Shared& lookup) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    lookup.error = getaddrinfo(lookup.host.c_str(), lookup.port.c_str(), &hints, &lookup.result);
    lookup.done.store(true, std::memory_order_release);
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(lookup.ready.Get(), &one, sizeof one);
}

// The lookup thread must never run the program's signal handlers: it starts with every
// signal blocked, as the resolver's own helper threads do.
void StartWithSignalsBlocked(const std::shared_ptr<NameLookup::Shared>& lookup) {
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    try {
        std::thread([lookup] { Resolve(*lookup); }).detach();
    } catch (const std::system_error&) {
        lookup->done = true; // no thread to be had: the lookup fails
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

} // namespace

NameLookup::NameLookup(const std::string& host, const std::string& port)
    : shared_(std::make_shared<Shared>()) {
    shared_->host = host;
    shared_->port = port;
    if (shared_->ready.Valid())
        StartWithSignalsBlocked(shared_);
    else
        shared_->done = true;
}

NameLookup::~NameLookup() = default;

int NameLookup::ReadyFd() const {
    return shared_->ready.Get();
}

bool NameLookup::Done() const {
    return shared_->done.load(std::memory_order_acquire);
}

bool NameLookup::Succeeded() const {
    return Done() && shared_->error == 0 && shared_->result;
}

const addrinfo* NameLookup::Addresses() const {
    return Succeeded() ? shared_->result : nullptr;
}

} // namespace olv
