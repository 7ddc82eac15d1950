#pragma once

#include <memory>
#include <string>

struct addrinfo;

namespace olv {

// Looks up the TCP addresses of a host without blocking the caller (getaddrinfo_a), so the
// client can keep processing events, honour an abort and give up on a resolver that hangs.
class NameLookup {
public:
    NameLookup(const std::string& host, const std::string& port);
    ~NameLookup();
    NameLookup(const NameLookup&) = delete;
    NameLookup& operator=(const NameLookup&) = delete;

    bool Done() const;
    bool Succeeded() const;
    // The addresses found, in the resolver's order; null unless Succeeded().
    const addrinfo* Addresses() const;

    struct Pending; // the request as the resolver holds it

private:
    std::unique_ptr<Pending> pending_;
};

} // namespace olv
