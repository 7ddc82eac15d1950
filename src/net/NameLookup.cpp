#include "net/NameLookup.h"

#include <cstring>
#include <netdb.h>
#include <vector>

namespace olv {

struct NameLookup::Pending {
    std::string host;
    std::string port;
    addrinfo hints{};
    gaicb request{};
    bool started = false;

    ~Pending() {
        if (request.ar_result)
            freeaddrinfo(request.ar_result);
    }
    bool Running() { return started && gai_error(&request) == EAI_INPROGRESS; }
};

namespace {

// Lookups given up while the resolver was still working on them. Their memory must live
// until the resolver lets go of it; they are freed by a later lookup once finished.
std::vector<std::unique_ptr<NameLookup::Pending>>& Abandoned() {
    static std::vector<std::unique_ptr<NameLookup::Pending>> abandoned;
    return abandoned;
}

void FreeFinishedAbandoned() {
    auto& abandoned = Abandoned();
    for (auto it = abandoned.begin(); it != abandoned.end();)
        it = (*it)->Running() ? it + 1 : abandoned.erase(it);
}

} // namespace

NameLookup::NameLookup(const std::string& host, const std::string& port)
    : pending_(std::make_unique<Pending>()) {
    FreeFinishedAbandoned();
    Pending& p = *pending_;
    p.host = host;
    p.port = port;
    p.hints.ai_family = AF_UNSPEC;
    p.hints.ai_socktype = SOCK_STREAM;
    p.request.ar_name = p.host.c_str();
    p.request.ar_service = p.port.c_str();
    p.request.ar_request = &p.hints;
    gaicb* list[] = {&p.request};
    p.started = getaddrinfo_a(GAI_NOWAIT, list, 1, nullptr) == 0;
}

NameLookup::~NameLookup() {
    if (pending_->Running() && gai_cancel(&pending_->request) == EAI_NOTCANCELED)
        Abandoned().push_back(std::move(pending_));
}

bool NameLookup::Done() const {
    return !pending_->Running();
}

bool NameLookup::Succeeded() const {
    return pending_->started && gai_error(&pending_->request) == 0 && pending_->request.ar_result;
}

const addrinfo* NameLookup::Addresses() const {
    return Succeeded() ? pending_->request.ar_result : nullptr;
}

} // namespace olv
