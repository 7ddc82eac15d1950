#pragma once

#include <memory>
#include <string>

struct addrinfo;

namespace olv {

// Looks up the TCP addresses of a host on a thread of its own, so the client can keep
// processing events, honour an abort and give up on a resolver that hangs. ReadyFd() becomes
// readable when the lookup is done, for the caller to poll with its other waits. A lookup
// given up while running finishes on its thread and then frees itself.
class NameLookup {
public:
    NameLookup(const std::string& host, const std::string& port);
    ~NameLookup();
    NameLookup(const NameLookup&) = delete;
    NameLookup& operator=(const NameLookup&) = delete;

    int ReadyFd() const;
    bool Done() const;
    bool Succeeded() const;
    // The addresses found, in the resolver's order; null unless Succeeded().
    const addrinfo* Addresses() const;

    struct Shared; // the state the caller and the lookup thread share

private:
    std::shared_ptr<Shared> shared_;
};

} // namespace olv
