#include "config/CPBTransfer.h"

#include "Rodezir/LogStream.h"

namespace {
std::unique_ptr<CPBTransfer>& current()
{
    static std::unique_ptr<CPBTransfer> transfer;
    return transfer;
}
} // namespace

CPBTransfer& CPBTransfer::instance()
{
    if (!current())
        current() = std::make_unique<CPBTransfer>();
    return *current();
}

void CPBTransfer::install(std::unique_ptr<CPBTransfer> transfer) { current() = std::move(transfer); }

void CPBTransfer::sendSetup(const PropertyModel&, QWidget*)
{
    LogStream::instance() << "No controller transfer is available: the set-up was not sent.\n";
}

void CPBTransfer::getSetup(PropertyModel&, QWidget*)
{
    LogStream::instance() << "No controller transfer is available: no set-up was fetched.\n";
}
