#include "text/fixedtext.h"

#include "text/cp932.h"

const std::string& FixedText::bytes() const
{
    const std::string* current = m_bytes.load(std::memory_order_acquire);
    if (current)
        return *current;
    // Fixed texts live for the whole run, so the converted copy is never freed.
    auto* fresh = new std::string(cp932::fromUtf8(utf8()));
    if (m_bytes.compare_exchange_strong(current, fresh, std::memory_order_acq_rel))
        return *fresh;
    delete fresh;
    return *current;
}
