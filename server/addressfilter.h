#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

// A list of address ranges in CIDR notation ("192.0.2.0/24", "2001:db8::/32", or one address
// without a prefix). IPv4 ranges also match IPv4-mapped IPv6 addresses, as a dual-stack listening
// socket reports them.
class AddressFilter {
public:
    // False (and nothing added) when the text is not an address with an optional valid prefix.
    bool add(std::string_view cidr);
    // The address in its usual text form; an unparsable text matches nothing.
    bool matches(std::string_view address) const;
    bool empty() const { return m_ranges.empty(); }

private:
    struct Range {
        std::array<unsigned char, 16> bytes; // IPv6 form, IPv4 as ::ffff:a.b.c.d
        int prefix; // leading bits that count, 0..128
    };
    std::vector<Range> m_ranges;
};

// The network an address belongs to, as a key for counting: its /24 for IPv4 (IPv4-mapped IPv6
// included) and its /64 for IPv6, written as the network address and the prefix length. An
// unparsable text is its own network.
std::string networkOf(std::string_view address);
