#include "server/addressfilter.h"

#include <asio/ip/address.hpp>

#include <charconv>
#include <optional>

namespace {

std::optional<std::array<unsigned char, 16>> parseAddress(std::string_view text, bool& isV4)
{
    std::error_code ec;
    const asio::ip::address address = asio::ip::make_address(std::string(text), ec);
    if (ec)
        return std::nullopt;
    isV4 = address.is_v4();
    if (address.is_v4())
        return asio::ip::make_address_v6(asio::ip::v4_mapped, address.to_v4()).to_bytes();
    return address.to_v6().to_bytes();
}

bool samePrefix(
    const std::array<unsigned char, 16>& a, const std::array<unsigned char, 16>& b, int prefix)
{
    int i = 0;
    for (; prefix >= 8; prefix -= 8, ++i) {
        if (a[i] != b[i])
            return false;
    }
    if (prefix == 0)
        return true;
    const auto mask = static_cast<unsigned char>(0xFF << (8 - prefix));
    return (a[i] & mask) == (b[i] & mask);
}

} // namespace

bool AddressFilter::add(std::string_view cidr)
{
    std::string_view addressText = cidr;
    int prefix = -1;
    if (const size_t slash = cidr.find('/'); slash != std::string_view::npos) {
        addressText = cidr.substr(0, slash);
        const std::string_view digits = cidr.substr(slash + 1);
        const auto [end, ec]
            = std::from_chars(digits.data(), digits.data() + digits.size(), prefix);
        if (digits.empty() || digits[0] < '0' || digits[0] > '9' || ec != std::errc()
            || end != digits.data() + digits.size())
            return false;
    }
    bool isV4 = false;
    const auto bytes = parseAddress(addressText, isV4);
    if (!bytes)
        return false;
    const int width = isV4 ? 32 : 128;
    if (prefix < 0)
        prefix = width;
    if (prefix > width)
        return false;
    m_ranges.push_back({ *bytes, isV4 ? prefix + 96 : prefix });
    return true;
}

bool AddressFilter::matches(std::string_view address) const
{
    bool isV4 = false;
    const auto bytes = parseAddress(address, isV4);
    if (!bytes)
        return false;
    for (const Range& r : m_ranges) {
        if (samePrefix(r.bytes, *bytes, r.prefix))
            return true;
    }
    return false;
}

std::string networkOf(std::string_view address)
{
    bool isV4 = false;
    auto bytes = parseAddress(address, isV4);
    if (!bytes)
        return std::string(address);
    const bool mapped = asio::ip::address_v6(*bytes).is_v4_mapped();
    const size_t keep = mapped ? 15 : 8; // bytes that name the network
    for (size_t i = keep; i < bytes->size(); ++i)
        (*bytes)[i] = 0;
    const asio::ip::address_v6 network(*bytes);
    if (mapped)
        return asio::ip::make_address_v4(asio::ip::v4_mapped, network).to_string() + "/24";
    return network.to_string() + "/64";
}
